// Feeds what the devices send back to what takes it apart: the replies of the command channel
// (CDeviceComm's exchanges, chunked reads, light frames and the receiver's link check), the
// notification reports of the event channel (unpacked against the devices' own report
// descriptors, then the usage the notification threads hand on) and the blocks read back from
// the keyboard's, the mouse's and the pad's memory.
//
// The input is a script: each step is a byte choosing an operation and its arguments; every
// read of the handle takes the next reply from the input (a length byte, a flags byte, that
// many bytes; a flags byte of 1 with no bytes is a failed read; a look at the queue takes a
// byte saying whether a report is there), optionally echoing the last
// request as a device would. Beyond not crashing (the buffers are sized exactly, so a write past
// one is seen): results are CDeviceComm's codes, a usage handed on is one of its item's, and
// decoded fields stay in their ranges.

#include "FuzzSupport.h"

#include "devices/LightBlock.h"
#include "devices/MouseConfigBlock.h"
#include "devices/NotificationThread.h"
#include "devices/PadLightBlock.h"
#include "sim/Descriptors.h"
#include "transport/DeviceComm.h"
#include "transport/HidDescriptor.h"

#include <algorithm>
#include <memory>
#include <vector>

using namespace transport;
using fuzz::Require;

namespace {

constexpr std::uint16_t kVendor = 0x320F;
constexpr std::uint16_t kProduct = 0x5001;

// A handle whose replies come from the input as they are read.
class ScriptedDevice : public HidDevice {
public:
    ScriptedDevice(fuzz::Bytes& script, HidCollection collection)
        : m_script(script), m_collection(std::move(collection)) {}

    int Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) override {
        if (m_script.Empty())
            return 0; // a time-out: nothing more comes
        // A look at what is queued (before a request): a byte of the script says whether a
        // report is there; an odd one delivers the next reply, a late or stray report.
        if (timeoutMs == 0 && (m_script.Byte() & 1) == 0)
            return 0;
        const std::size_t length = m_script.Byte();
        const std::uint8_t flags = m_script.Byte();
        if (length == 0)
            return flags & 1 ? -1 : 0;
        std::vector<std::uint8_t> reply(length, 0);
        const std::span<const std::uint8_t> bytes = m_script.Take(length);
        std::copy(bytes.begin(), bytes.end(), reply.begin());
        if (flags & 2) // the report ID of the collection's first report
            reply[0] = m_collection.reportIds.empty() ? 0 : m_collection.reportIds.front();
        if (flags & 4) // echo the command, length and offset of the last request
            for (std::size_t i = packet::kCommandAt; i < packet::kStatusAt && i < length; ++i)
                reply[i] = m_lastRequest[i];
        const std::size_t n = std::min(length, capacity);
        std::copy_n(reply.begin(), n, buffer);
        return static_cast<int>(n);
    }
    int Write(const std::uint8_t* report, std::size_t length, int) override {
        Require(length > 0, "an empty report was written");
        std::fill(m_lastRequest.begin(), m_lastRequest.end(), 0);
        std::copy_n(report, std::min(length, m_lastRequest.size()), m_lastRequest.begin());
        return static_cast<int>(length);
    }
    void Cancel() override {}
    HidAttributes Attributes() const override {
        return {sizeof(HidAttributes), kVendor, kProduct, 1};
    }
    const HidCollection& Collection() const override { return m_collection; }
    std::shared_ptr<std::mutex> ExchangeLock() override { return m_exchangeLock; }

private:
    std::shared_ptr<std::mutex> m_exchangeLock = std::make_shared<std::mutex>();
    fuzz::Bytes& m_script;
    HidCollection m_collection;
    Packet m_lastRequest{};
};

// The collections of one of the devices' interfaces; a path's "col" picks one.
class ScriptedBackend : public HidBackend {
public:
    ScriptedBackend(fuzz::Bytes& script, std::vector<HidCollection> collections)
        : m_script(script), m_collections(std::move(collections)) {}

    bool Enumerate(std::vector<std::string>& paths) override {
        for (std::size_t i = 0; i < m_collections.size(); ++i)
            paths.push_back(Path(static_cast<std::uint16_t>(i + 1)));
        return true;
    }
    std::unique_ptr<HidDevice> Open(const std::string& path, const OpenFlags&,
                                    int* error) override {
        if (error)
            *error = 0;
        const std::size_t index = PathCollectionNumber(path);
        if (index == 0 || index > m_collections.size())
            return nullptr;
        return std::make_unique<ScriptedDevice>(m_script, m_collections[index - 1]);
    }
    bool Exists(const std::string&) override { return true; }
    int WaitForChange(Event&, int) override { return kWaitTimedOut; }

    static std::string Path(std::uint16_t collection) {
        return MakeHidPath("/dev/hidraw0", kVendor, kProduct, 1, collection);
    }
    // The 1-based index of the first collection of this usage page; 0 when there is none.
    std::uint16_t Find(std::uint16_t usagePage) const {
        for (std::size_t i = 0; i < m_collections.size(); ++i)
            if (m_collections[i].usagePage == usagePage)
                return static_cast<std::uint16_t>(i + 1);
        return 0;
    }

private:
    fuzz::Bytes& m_script;
    std::vector<HidCollection> m_collections;
};

void RequireResult(int result) {
    Require(result == kCommSuccess || result == kCommNothing || result == kCommWriteFailed ||
                result == kCommNoDevice || result == kCommStatusError ||
                result == kCommStatusRefused || result == kCommBadPage,
            "an operation gave a result that is no CDeviceComm code");
}

std::vector<std::uint8_t> Filled(fuzz::Bytes& in, std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    const std::span<const std::uint8_t> piece = in.Take(size);
    std::copy(piece.begin(), piece.end(), bytes.begin());
    return bytes;
}

std::vector<int> ModeCodes(fuzz::Bytes& in) {
    std::vector<int> codes(in.Byte() % 12);
    for (int& code : codes)
        code = in.Byte();
    return codes;
}

void Notification(CHidChannel& events, fuzz::Bytes& in) {
    std::vector<std::uint8_t> report = Filled(in, in.Byte() % 80);
    events.UnpackInputReport(report.data(), report.size());
    const std::uint16_t usage = devices::CNotificationThread::FirstButtonUsage(events);
    if (usage == 0)
        return;
    bool named = false;
    for (const HidReportItem& item : events.GetReportItems(HidReportType::Input))
        named = named ||
                (item.isButton && item.isSet && usage >= item.usageMin && usage <= item.usageMax);
    Require(named, "a notification's usage is none of its items'");
}

void Blocks(fuzz::Bytes& in) {
    const std::vector<int> codes = ModeCodes(in);
    devices::LightBlock light{};
    const std::vector<std::uint8_t> lightBytes = Filled(in, light.size());
    std::copy(lightBytes.begin(), lightBytes.end(), light.begin());
    const devices::LightBlockFields fields = devices::ParseLightBlock(light, codes);
    Require(fields.speed <= devices::kMaxSpeed, "a light block's speed is above 3");
    Require(fields.pollingRate == 0, "a light block's polling rate was read back");
    // What is written back reads back as itself.
    const devices::LightBlockFields again =
        devices::ParseLightBlock(devices::BuildLightBlock(fields, codes), codes);
    Require(again.speed == fields.speed && again.brightness == fields.brightness &&
                again.red == fields.red && again.green == fields.green &&
                again.blue == fields.blue && again.customGroup == fields.customGroup,
            "a light block does not read back");

    devices::PadLightRead pad{};
    const std::vector<std::uint8_t> padBytes = Filled(in, pad.size());
    std::copy(padBytes.begin(), padBytes.end(), pad.begin());
    const devices::PadLightBlock held = devices::PadBlockFromWire(pad, codes);
    const devices::PadLightBlock wire = devices::PadBlockToWire(held, codes);
    Require(std::equal(wire.begin() + devices::padblock::kKeptAt, wire.end(),
                       pad.begin() + devices::padblock::kKeptAt),
            "the pad's own bytes do not go back as they came");
    Require(wire[devices::padblock::kSpeedAt] == pad[devices::padblock::kSpeedAt],
            "the pad's speed does not go back as it came");

    std::array<std::uint8_t, devices::kMouseStateBlockSize> mouse{};
    const std::vector<std::uint8_t> mouseBytes = Filled(in, mouse.size());
    std::copy(mouseBytes.begin(), mouseBytes.end(), mouse.begin());
    const devices::MouseBlockState state = devices::ParseMouseStateBlock(mouse, codes);
    (void)state;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const std::uint8_t which = in.Byte() % 3;
    const sim::InterfaceLayout layout = which == 0   ? sim::KeyboardInterface()
                                        : which == 1 ? sim::MouseInterface()
                                                     : sim::HeadsetInterface();
    ParsedDescriptor parsed =
        ParseReportDescriptor(layout.descriptor.data(), layout.descriptor.size());
    Require(parsed.ok, "a device's own descriptor does not parse");
    ScriptedBackend backend(in, std::move(parsed.collections));

    CDeviceComm comm(&backend);
    const std::uint16_t vendorCollection = std::max(backend.Find(0xFF1C), backend.Find(0x000C));
    const std::string commandPath = ScriptedBackend::Path(vendorCollection);
    Require(comm.CableChannel().Open(commandPath, true, true, true, false) == 1 &&
                comm.ReceiverChannel().Open(commandPath, true, true, true, false) == 1,
            "the command channel does not open");
    comm.open = true;
    CHidChannel events(&backend);
    Require(events.Open(ScriptedBackend::Path(backend.Find(0x000C)), true, false, true, false) == 1,
            "the event channel does not open");

    for (int step = 0; step < 48 && !in.Empty(); ++step) {
        const std::uint8_t operation = in.Byte();
        switch (operation % 14) {
        case 0:
            comm.SelectMode(operation & 0x10 ? CDeviceComm::kModeReceiver
                                             : CDeviceComm::kModeCable);
            break;
        case 1:
            RequireResult(comm.Begin());
            break;
        case 2: {
            std::array<std::uint8_t, kDeviceInfoSize> info{};
            RequireResult(comm.ReadDeviceInfo(info));
            break;
        }
        case 3: {
            std::vector<std::uint8_t> bytes(in.Word() % 600);
            RequireResult(comm.ReadMemory(bytes, in.Word()));
            break;
        }
        case 4: {
            const std::vector<std::uint8_t> bytes = Filled(in, in.Byte());
            RequireResult(comm.WriteMemory(bytes, in.Word()));
            break;
        }
        case 5: {
            comm.SetTransferLength(in.Word() % 600);
            std::vector<std::uint8_t> table(comm.GetTransferLength());
            RequireResult(comm.ReadKeyTable(table));
            break;
        }
        case 6: {
            std::vector<std::uint8_t> status(in.Byte() % (packet::kMaxData + 1));
            RequireResult(comm.ReadStatus(status, in.Word()));
            break;
        }
        case 7: {
            std::vector<std::uint8_t> table(comm.GetTransferLength() / 3);
            RequireResult(comm.ReadKeyAttributeTable(table));
            break;
        }
        case 8: {
            const std::vector<std::uint8_t> frame = Filled(in, in.Word() % 400);
            RequireResult(comm.WriteLightFrame(frame));
            break;
        }
        case 9:
            comm.CheckReceiverLink();
            break;
        case 10:
            RequireResult(comm.TakeLightingControl());
            break;
        case 11: {
            const std::vector<std::uint8_t> request = Filled(in, in.Byte() % 70);
            std::vector<std::uint8_t> reply(1 + in.Byte() % 70);
            std::uint32_t got = 0;
            RequireResult(comm.Transaction(request, reply, &got));
            Require(got <= reply.size(), "a reply's length is more than its buffer");
            break;
        }
        case 12:
            Notification(events, in);
            break;
        default:
            Blocks(in);
            break;
        }
    }
    return 0;
}
