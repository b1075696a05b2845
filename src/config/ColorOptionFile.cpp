#include "config/ColorOptionFile.h"

#include "config/DamagedFile.h"

#include <cctype>
#include <cstdio>

namespace config {

namespace {

constexpr const char* kRoot = "coloroptioninfo";
constexpr const char* kPresets = "palletDialogcoloroption";
constexpr const char* kPresetSelect = "palletDialogcoloroption_selectitem";
constexpr const char* kUser = "palletDialogcollectcoloroption";
constexpr const char* kUserSelect = "palletDialogcollectcoloroption_selectitem";

bool InRange(int index) {
    return index >= 0 && index < kColorSwatchCount;
}

// An object member that is an object, made one when it is anything else.
Json::Value& ObjectMember(Json::Value& parent, const char* key) {
    Json::Value& member = parent[key];
    if (!member.isObject())
        member = Json::Value(Json::objectValue);
    return member;
}

} // namespace

std::string ColorText(std::uint32_t argb) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(argb));
    return text;
}

std::optional<std::uint32_t> ParseColorText(const std::string& text) {
    std::size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        start = 2;
    const std::size_t digits = text.size() - start;
    if (digits == 0 || digits > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c))
            return std::nullopt;
        value = value << 4 |
                static_cast<std::uint32_t>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return digits <= 6 ? value | 0xFF000000u : value;
}

int CColorOptionFile::Load(const std::string& userPath, const std::string& defaultPath) {
    m_userPath = userPath;
    m_userRead = userPath.empty() ? JsonRead{} : ReadJsonDocument(userPath);
    if (m_userRead.document.isObject()) {
        m_document = m_userRead.document;
        return 1;
    }
    const Json::Value defaults = ReadJsonFile(defaultPath);
    m_document = defaults.isObject() ? defaults : Json::Value(Json::objectValue);
    return defaults.isObject() ? 1 : 0;
}

const Json::Value* CColorOptionFile::Element(const char* list, int index) const {
    if (!InRange(index))
        return nullptr;
    const Json::Value& root = m_document[kRoot];
    if (!root.isObject())
        return nullptr;
    const Json::Value& items = root[list];
    if (!items.isArray() || static_cast<Json::ArrayIndex>(index) >= items.size())
        return nullptr;
    const Json::Value& item = items[static_cast<Json::ArrayIndex>(index)];
    return item.isObject() ? &item : nullptr;
}

std::optional<std::uint32_t> CColorOptionFile::ColorOf(const char* list, int index) const {
    const Json::Value* item = Element(list, index);
    if (!item || !(*item)["color"].isString())
        return std::nullopt;
    return ParseColorText((*item)["color"].asString());
}

int CColorOptionFile::Selection(const char* key) const {
    const Json::Value& root = m_document[kRoot];
    if (!root.isObject() || !root[key].isInt())
        return -1;
    const int index = root[key].asInt();
    return InRange(index) ? index : -1;
}

std::optional<std::uint32_t> CColorOptionFile::PresetColor(int index) const {
    return ColorOf(kPresets, index);
}

int CColorOptionFile::PresetSelection() const {
    return Selection(kPresetSelect);
}

std::optional<std::uint32_t> CColorOptionFile::UserColor(int index) const {
    return ColorOf(kUser, index);
}

std::string CColorOptionFile::UserData(int index) const {
    const Json::Value* item = Element(kUser, index);
    if (!item || !(*item)["UserData"].isString())
        return {};
    return (*item)["UserData"].asString();
}

int CColorOptionFile::UserSelection() const {
    return Selection(kUserSelect);
}

Json::Value& CColorOptionFile::Section(const char* list) {
    if (!m_document.isObject())
        m_document = Json::Value(Json::objectValue);
    Json::Value& items = ObjectMember(m_document, kRoot)[list];
    if (!items.isArray())
        items = Json::Value(Json::arrayValue);
    while (items.size() < static_cast<Json::ArrayIndex>(kColorSwatchCount))
        items.append(Json::Value(Json::objectValue));
    for (Json::Value& item : items) {
        if (!item.isObject())
            item = Json::Value(Json::objectValue);
    }
    return items;
}

int CColorOptionFile::SavePresets(
    const std::array<std::optional<std::uint32_t>, kColorSwatchCount>& colours, int selected) {
    Json::Value& items = Section(kPresets);
    for (int i = 0; i < kColorSwatchCount; ++i) {
        if (colours[i])
            items[i]["color"] = ColorText(*colours[i]);
    }
    m_document[kRoot][kPresetSelect] = selected;
    return Save();
}

int CColorOptionFile::SaveUserSwatches(
    const std::array<std::optional<ColorSwatch>, kColorSwatchCount>& swatches, int selected) {
    Json::Value& items = Section(kUser);
    for (int i = 0; i < kColorSwatchCount; ++i) {
        if (!swatches[i])
            continue;
        items[i]["color"] = ColorText(swatches[i]->colour);
        items[i]["UserData"] = swatches[i]->userData;
    }
    m_document[kRoot][kUserSelect] = selected;
    return Save();
}

int CColorOptionFile::Save() {
    // A file that is there but could not be read may hold the user's swatches: never replace it.
    if (m_userPath.empty() || m_userRead.Refused())
        return 0;
    if (!KeepWhatIsReplaced(m_userPath, m_userRead))
        return 0;
    if (!WriteJsonFile(m_userPath, m_document))
        return 0;
    m_userRead = JsonRead{m_document, ReadState::kRead};
    return 1;
}

} // namespace config
