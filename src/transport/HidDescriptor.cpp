#include "transport/HidDescriptor.h"

#include "transport/HidUsageList.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace transport {

namespace {

constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxItems = 4096;
// Report byte lengths, the report ID byte included, must fit the 16-bit fields of HidCaps.
constexpr std::uint64_t kMaxReportBits = (0xFFFFull - 1) * 8;

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC
};

enum GlobalTag {
    kUsagePage = 0,
    kLogicalMin = 1,
    kLogicalMax = 2,
    kPhysicalMin = 3,
    kPhysicalMax = 4,
    kUnitExponent = 5,
    kUnit = 6,
    kReportSize = 7,
    kReportId = 8,
    kReportCount = 9,
    kPush = 10,
    kPop = 11,
};

enum LocalTag { kUsage = 0, kUsageMin = 1, kUsageMax = 2 };

constexpr std::uint32_t kCollectionApplication = 0x01;
constexpr std::uint32_t kFlagConstant = 0x01;
constexpr std::uint32_t kFlagVariable = 0x02;

struct Item {
    int type = 0;
    int tag = 0;
    int size = 0; // data bytes: 0, 1, 2 or 4
    std::uint32_t data = 0;

    std::int64_t Signed() const {
        switch (size) {
        case 1:
            return static_cast<std::int8_t>(data);
        case 2:
            return static_cast<std::int16_t>(data);
        case 4:
            return static_cast<std::int32_t>(data);
        default:
            return 0;
        }
    }
};

// A logical or physical extent, kept both ways: descriptors often write 255 as the one-byte
// 0xFF, which only reads right as unsigned once the minimum is known to be non-negative.
struct Extent {
    std::int64_t asSigned = 0;
    std::int64_t asUnsigned = 0;
    void Set(const Item& item) {
        asSigned = item.Signed();
        asUnsigned = item.data;
    }
};

struct Globals {
    std::uint32_t usagePage = 0;
    Extent logicalMin, logicalMax, physicalMin, physicalMax;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void ResolveRange(const Extent& min, const Extent& max, std::int32_t& outMin,
                  std::int32_t& outMax) {
    outMin = ClampToInt32(min.asSigned);
    outMax = ClampToInt32(outMin >= 0 ? max.asUnsigned : max.asSigned);
}

// A usage as written: short ones take the usage page current at the main item.
struct WrittenUsage {
    std::uint32_t value = 0;
    bool hasPage = false;
    std::uint32_t Resolve(std::uint32_t page) const {
        return hasPage ? value : (page << 16) | (value & 0xFFFF);
    }
};

struct Locals {
    struct Range {
        WrittenUsage first, last;
    };
    std::vector<Range> usages;
    std::optional<WrittenUsage> pendingMin, pendingMax;

    UsageList Resolve(std::uint32_t page) const {
        UsageList list;
        for (const Range& range : usages)
            list.Add(range.first.Resolve(page), range.last.Resolve(page));
        // A lone Usage Minimum or Maximum stands for itself.
        if (pendingMin)
            list.Add(pendingMin->Resolve(page), pendingMin->Resolve(page));
        if (pendingMax)
            list.Add(pendingMax->Resolve(page), pendingMax->Resolve(page));
        return list;
    }
    void PairRange() {
        if (pendingMin && pendingMax) {
            usages.push_back({*pendingMin, *pendingMax});
            pendingMin.reset();
            pendingMax.reset();
        }
    }
};

struct TopLevel {
    HidCollection collection;
    // Report IDs this collection's main items used, by report type.
    std::vector<std::uint8_t> idsByType[3];
    std::vector<HidReportItem> buttons[3];
    std::vector<HidReportItem> values[3];
};

void AddUnique(std::vector<std::uint8_t>& ids, std::uint8_t id) {
    if (std::find(ids.begin(), ids.end(), id) == ids.end())
        ids.push_back(id);
}

std::uint16_t Saturate16(std::uint64_t value) {
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(value, 0xFFFF));
}

class Parser {
public:
    Parser(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    ParsedDescriptor Run() {
        ParsedDescriptor result;
        while (m_pos < m_size && m_error.empty()) {
            Item item;
            if (!NextItem(item))
                break;
            Dispatch(item);
        }
        if (m_error.empty() && m_depth != 0)
            Fail("a collection is not closed");
        if (!m_error.empty()) {
            result.error = m_error;
            return result;
        }
        result.ok = true;
        for (TopLevel& top : m_topLevels)
            result.collections.push_back(Finish(top));
        return result;
    }

private:
    void Fail(std::string reason) {
        if (m_error.empty())
            m_error = std::move(reason) + " at byte " + std::to_string(m_itemStart);
    }

    // Reads the next short item; long items are skipped whole. False at a truncated item.
    bool NextItem(Item& item) {
        for (;;) {
            m_itemStart = m_pos;
            const std::uint8_t prefix = m_data[m_pos];
            if (prefix == 0xFE) {
                if (m_size - m_pos < 3) {
                    Fail("truncated long item");
                    return false;
                }
                const std::size_t dataSize = m_data[m_pos + 1];
                if (m_size - m_pos - 3 < dataSize) {
                    Fail("truncated long item");
                    return false;
                }
                m_pos += 3 + dataSize;
                if (m_pos >= m_size)
                    return false;
                continue;
            }
            static constexpr int kSizes[4] = {0, 1, 2, 4};
            item.size = kSizes[prefix & 0x03];
            item.type = (prefix >> 2) & 0x03;
            item.tag = prefix >> 4;
            if (m_size - m_pos - 1 < static_cast<std::size_t>(item.size)) {
                Fail("truncated item");
                return false;
            }
            item.data = 0;
            for (int i = 0; i < item.size; ++i)
                item.data |= static_cast<std::uint32_t>(m_data[m_pos + 1 + i]) << (8 * i);
            m_pos += 1 + item.size;
            return true;
        }
    }

    void Dispatch(const Item& item) {
        switch (item.type) {
        case kMain:
            Main(item);
            break;
        case kGlobal:
            Global(item);
            break;
        case kLocal:
            Local(item);
            break;
        default:
            break; // reserved item type
        }
    }

    void Main(const Item& item) {
        switch (item.tag) {
        case kInput:
            Field(HidReportType::Input, item.data);
            break;
        case kOutput:
            Field(HidReportType::Output, item.data);
            break;
        case kFeature:
            Field(HidReportType::Feature, item.data);
            break;
        case kCollection:
            OpenCollection(item.data);
            break;
        case kEndCollection:
            if (m_depth == 0) {
                Fail("End Collection without Collection");
                return;
            }
            if (--m_depth == 0)
                m_current = nullptr;
            break;
        default:
            break;
        }
        m_locals = Locals{};
    }

    void OpenCollection(std::uint32_t kind) {
        if (m_depth == kMaxDepth) {
            Fail("collections nested deeper than " + std::to_string(kMaxDepth));
            return;
        }
        if (m_depth == 0) {
            m_current = nullptr;
            if ((kind & 0xFF) == kCollectionApplication) {
                const UsageList usages = m_locals.Resolve(m_globals.usagePage);
                const std::uint32_t usage =
                    usages.Empty() ? m_globals.usagePage << 16 : usages.First();
                m_topLevels.emplace_back();
                m_current = &m_topLevels.back();
                m_current->collection.usagePage = static_cast<std::uint16_t>(usage >> 16);
                m_current->collection.usage = static_cast<std::uint16_t>(usage);
                m_current->collection.caps.usagePage = m_current->collection.usagePage;
                m_current->collection.caps.usage = m_current->collection.usage;
            }
        }
        if (m_current)
            ++m_current->collection.caps.numberLinkCollectionNodes;
        ++m_depth;
    }

    void Global(const Item& item) {
        switch (item.tag) {
        case kUsagePage:
            m_globals.usagePage = item.data & 0xFFFF;
            break;
        case kLogicalMin:
            m_globals.logicalMin.Set(item);
            break;
        case kLogicalMax:
            m_globals.logicalMax.Set(item);
            break;
        case kPhysicalMin:
            m_globals.physicalMin.Set(item);
            break;
        case kPhysicalMax:
            m_globals.physicalMax.Set(item);
            break;
        case kReportSize:
            m_globals.reportSize = item.data;
            break;
        case kReportCount:
            m_globals.reportCount = item.data;
            break;
        case kReportId:
            if (item.data == 0 || item.data > 0xFF) {
                Fail("Report ID " + std::to_string(item.data) + " out of 1..255");
                return;
            }
            m_globals.reportId = item.data;
            m_usesReportIds = true;
            break;
        case kPush:
            if (m_stack.size() == kMaxDepth) {
                Fail("Push nested deeper than " + std::to_string(kMaxDepth));
                return;
            }
            m_stack.push_back(m_globals);
            break;
        case kPop:
            if (m_stack.empty()) {
                Fail("Pop without Push");
                return;
            }
            m_globals = m_stack.back();
            m_stack.pop_back();
            break;
        default:
            break; // unit, unit exponent, reserved tags: nothing to keep
        }
    }

    void Local(const Item& item) {
        const WrittenUsage usage{item.data, item.size == 4};
        switch (item.tag) {
        case kUsage:
            m_locals.usages.push_back({usage, usage});
            break;
        case kUsageMin:
            m_locals.pendingMin = usage;
            m_locals.PairRange();
            break;
        case kUsageMax:
            m_locals.pendingMax = usage;
            m_locals.PairRange();
            break;
        default:
            break; // designators, strings and delimiters say nothing about report layout
        }
    }

    void Field(HidReportType type, std::uint32_t flags) {
        const int t = static_cast<int>(type);
        std::uint32_t& reportBits = m_reportBits[t][m_globals.reportId];
        const std::uint64_t bits =
            static_cast<std::uint64_t>(m_globals.reportSize) * m_globals.reportCount;
        if (reportBits + bits > kMaxReportBits) {
            Fail("report longer than 65534 bytes");
            return;
        }
        HidField field;
        field.bitOffset = reportBits;
        field.bitSize = m_globals.reportSize;
        field.count = m_globals.reportCount;
        field.isArray = (flags & kFlagVariable) == 0;
        ResolveRange(m_globals.logicalMin, m_globals.logicalMax, field.logicalMin,
                     field.logicalMax);
        ResolveRange(m_globals.physicalMin, m_globals.physicalMax, field.physicalMin,
                     field.physicalMax);
        reportBits += static_cast<std::uint32_t>(bits);

        if (!m_current)
            return;
        const auto id = static_cast<std::uint8_t>(m_globals.reportId);
        AddUnique(m_current->collection.reportIds, id);
        AddUnique(m_current->idsByType[t], id);
        if ((flags & kFlagConstant) || field.bitSize == 0 || field.count == 0)
            return;
        const UsageList usages = m_locals.Resolve(m_globals.usagePage);
        const bool isButton =
            field.isArray || (field.bitSize == 1 && field.logicalMin == 0 && field.logicalMax == 1);
        if (isButton)
            AddButtons(field, usages, t);
        else
            AddValues(field, usages, t);
    }

    bool Reserve(std::size_t items) {
        if (m_itemCount + items > kMaxItems) {
            Fail("more than " + std::to_string(kMaxItems) + " report items");
            return false;
        }
        m_itemCount += items;
        return true;
    }

    HidReportItem NewItem(bool isButton, std::uint32_t usage, const HidField& field) const {
        HidReportItem item;
        item.isButton = isButton;
        item.usagePage = static_cast<std::uint16_t>(usage >> 16);
        item.reportId = m_globals.reportId;
        item.field = field;
        return item;
    }

    // An array field holds indexes into the whole usage list; each range of the list becomes
    // one item over the same field, its logical minimum moved so that the index of the range's
    // first usage reads as usageMin.
    void AddArrayButtons(const HidField& field, const UsageList& usages, int t) {
        std::uint64_t listIndex = 0;
        for (const UsageList::Range& range : usages.Ranges()) {
            if (!Reserve(1))
                return;
            HidField shifted = field;
            shifted.logicalMin =
                ClampToInt32(field.logicalMin + static_cast<std::int64_t>(listIndex));
            HidReportItem item = NewItem(true, range.first, shifted);
            item.usageMin = range.first & 0xFFFF;
            item.usageMax = range.last & 0xFFFF;
            item.maxUsageListLength = field.count;
            m_current->buttons[t].push_back(std::move(item));
            listIndex += range.Length();
        }
    }

    // Each usage range gets the bits it covers; bits beyond the usage list repeat the last
    // usage and join the last item.
    void AddVariableButtons(const HidField& field, const UsageList& usages, int t) {
        std::uint32_t bit = 0;
        HidReportItem* last = nullptr;
        for (const UsageList::Range& range : usages.Ranges()) {
            if (bit == field.count)
                break;
            if (!Reserve(1))
                return;
            const auto length = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(range.Length(), field.count - bit));
            HidField part = field;
            part.bitOffset = field.bitOffset + bit;
            part.count = length;
            HidReportItem item = NewItem(true, range.first, part);
            item.usageMin = range.first & 0xFFFF;
            item.usageMax = item.usageMin + length - 1;
            item.maxUsageListLength = length;
            m_current->buttons[t].push_back(std::move(item));
            last = &m_current->buttons[t].back();
            bit += length;
        }
        if (last)
            last->field.count += field.count - bit;
    }

    void AddButtons(const HidField& field, const UsageList& usages, int t) {
        if (field.isArray)
            AddArrayButtons(field, usages, t);
        else
            AddVariableButtons(field, usages, t);
    }

    // One item per usage, one field each; the last usage takes every remaining field.
    void AddValues(const HidField& field, const UsageList& usages, int t) {
        const std::uint64_t usageCount = std::max<std::uint64_t>(usages.Count(), 1);
        const auto itemCount =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(usageCount, field.count));
        if (!Reserve(itemCount))
            return;
        UsageList::Cursor cursor(usages);
        for (std::uint32_t i = 0; i < itemCount; ++i) {
            const std::uint32_t usage = usages.Empty() ? m_globals.usagePage << 16 : cursor.Next();
            HidField part = field;
            part.bitOffset = field.bitOffset + i * field.bitSize;
            part.count = i + 1 == itemCount ? field.count - i : 1;
            HidReportItem item = NewItem(false, usage, part);
            item.usage = static_cast<std::uint16_t>(usage);
            m_current->values[t].push_back(std::move(item));
        }
    }

    HidCollection Finish(TopLevel& top) {
        HidCollection& collection = top.collection;
        if (!m_usesReportIds)
            collection.reportIds.clear();
        std::sort(collection.reportIds.begin(), collection.reportIds.end());
        std::uint16_t* lengths[3] = {&collection.caps.inputReportByteLength,
                                     &collection.caps.outputReportByteLength,
                                     &collection.caps.featureReportByteLength};
        std::uint16_t* buttonCaps[3] = {&collection.caps.numberInputButtonCaps,
                                        &collection.caps.numberOutputButtonCaps,
                                        &collection.caps.numberFeatureButtonCaps};
        std::uint16_t* valueCaps[3] = {&collection.caps.numberInputValueCaps,
                                       &collection.caps.numberOutputValueCaps,
                                       &collection.caps.numberFeatureValueCaps};
        std::uint16_t* dataIndices[3] = {&collection.caps.numberInputDataIndices,
                                         &collection.caps.numberOutputDataIndices,
                                         &collection.caps.numberFeatureDataIndices};
        for (int t = 0; t < 3; ++t) {
            std::uint32_t longest = 0;
            for (std::uint8_t id : top.idsByType[t])
                longest = std::max(longest, m_reportBits[t][id]);
            if (!top.idsByType[t].empty())
                *lengths[t] = Saturate16(1 + (longest + 7) / 8);
            std::uint64_t indices = top.values[t].size();
            for (const HidReportItem& button : top.buttons[t])
                indices += button.usageMax - button.usageMin + 1;
            *buttonCaps[t] = Saturate16(top.buttons[t].size());
            *valueCaps[t] = Saturate16(top.values[t].size());
            *dataIndices[t] = Saturate16(indices);
            std::vector<HidReportItem>& items = collection.items[t];
            items = std::move(top.buttons[t]);
            items.insert(items.end(), std::make_move_iterator(top.values[t].begin()),
                         std::make_move_iterator(top.values[t].end()));
            for (HidReportItem& item : items)
                if (item.isButton)
                    item.usages.assign(item.maxUsageListLength, 0);
        }
        return std::move(collection);
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::size_t m_itemStart = 0;
    std::string m_error;

    Globals m_globals;
    std::vector<Globals> m_stack;
    Locals m_locals;
    int m_depth = 0;
    bool m_usesReportIds = false;
    std::size_t m_itemCount = 0;
    std::vector<TopLevel> m_topLevels;
    TopLevel* m_current = nullptr; // the open top-level collection, if any
    // Bits so far of each report, by report type and report ID.
    std::array<std::array<std::uint32_t, 256>, 3> m_reportBits{};
};

} // namespace

ParsedDescriptor ParseReportDescriptor(const std::uint8_t* data, std::size_t size) {
    if (!data && size != 0)
        return {false, "no descriptor data", {}};
    return Parser(data, size).Run();
}

} // namespace transport
