#include "transport/DeviceScanThread.h"

#include "platform/DebugLog.h"
#include "transport/NodeLock.h"

#include <algorithm>
#include <cerrno>

namespace transport {

DeviceScanThread::DeviceScanThread(std::vector<DeviceSlot>& slots, ISlotReceiver& receiver,
                                   HidBackend* backend, int safetyPassMs)
    : m_slots(slots), m_receiver(receiver), m_backend(backend ? backend : &DefaultHidBackend()),
      m_safetyPassMs(safetyPassMs), m_scanner(m_backend) {}

DeviceScanThread::~DeviceScanThread() {
    Stop();
}

void DeviceScanThread::Start() {
    if (m_thread.joinable())
        return;
    m_stop.Reset();
    m_thread = std::thread([this] { Run(m_stop); });
}

void DeviceScanThread::Stop() {
    m_stop.Set();
    if (m_thread.joinable())
        m_thread.join();
}

void DeviceScanThread::Run(Event& stop) {
    while (!stop.IsSet()) {
        if (!PassAndRebind())
            return;
        if (m_backend->WaitForChange(stop, m_safetyPassMs) == HidBackend::kWaitStopped)
            break;
    }
    platform::DebugLine("抓取设备线程设定退出");
}

bool DeviceScanThread::ScanOnce() {
    bool lost = false;
    return Pass(lost);
}

bool DeviceScanThread::Pass(bool& lost) {
    const bool anyFree =
        std::any_of(m_slots.begin(), m_slots.end(), [](const DeviceSlot& s) { return s.IsFree(); });
    if (anyFree && !BindNewInterfaces())
        return false;
    lost = DropLostInterfaces();
    return true;
}

bool DeviceScanThread::PassAndRebind() {
    bool lost = false;
    if (!Pass(lost))
        return false;
    return !lost || Pass(lost);
}

bool DeviceScanThread::BindNewInterfaces() {
    if (!m_scanner.Enumerate())
        return false;
    std::set<std::string> listed;
    while (const std::string* path = m_scanner.NextPath()) {
        listed.insert(*path);
        BindPath(*path);
    }
    // A refused path that went (unplugged) is tried again when it comes back.
    std::erase_if(m_denied, [&](const std::string& path) { return !listed.contains(path); });
    std::erase_if(m_inUse, [&](const std::string& path) { return !listed.contains(path); });
    if (m_firstPass) {
        m_firstPass = false;
        m_receiver.OnFirstScanDone();
    }
    m_scanner.FreeList();
    return true;
}

void DeviceScanThread::BindPath(const std::string& path) {
    DeviceSlot candidate;
    candidate.vendorId = PathVendorId(path);
    candidate.productId = PathProductId(path);
    candidate.interfaceNumber = PathInterfaceNumber(path);
    candidate.collectionNumber = PathCollectionNumber(path);
    auto samePathIdentity = [&](const DeviceSlot& s) {
        return s.vendorId == candidate.vendorId && s.productId == candidate.productId &&
               s.interfaceNumber == candidate.interfaceNumber &&
               s.collectionNumber == candidate.collectionNumber;
    };
    // Cheap pre-check on the path alone, so that a pass over known interfaces opens nothing.
    const auto& rows = SupportedInterfaces();
    if (std::none_of(rows.begin(), rows.end(), samePathIdentity))
        return;
    if (std::none_of(m_slots.begin(), m_slots.end(),
                     [&](const DeviceSlot& s) { return samePathIdentity(s) && s.IsFree(); }))
        return;
    if (!OpenForScan(path))
        return;
    candidate.vendorId = m_scanner.GetVendorId();
    candidate.productId = m_scanner.GetProductId();
    candidate.usagePage = m_scanner.GetUsagePage();
    candidate.usage = m_scanner.GetUsage();
    m_scanner.Close();

    auto fullMatch = [&](const DeviceSlot& s) {
        return s.vendorId == candidate.vendorId && s.productId == candidate.productId &&
               s.collectionNumber == candidate.collectionNumber &&
               s.interfaceNumber == candidate.interfaceNumber &&
               s.usagePage == candidate.usagePage && s.usage == candidate.usage;
    };
    const auto row = std::find_if(rows.begin(), rows.end(), fullMatch);
    if (row == rows.end())
        return;
    candidate.kind = row->kind;
    candidate.role = row->role;
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        DeviceSlot& slot = m_slots[i];
        if (fullMatch(slot) && slot.kind == candidate.kind && slot.role == candidate.role &&
            slot.IsFree()) {
            slot.bound = 1;
            slot.path = path;
            m_receiver.OnSlotBound(static_cast<int>(i));
            return;
        }
    }
}

bool DeviceScanThread::OpenForScan(const std::string& path) {
    // Without the udev rule's permissions every pass would be refused again: the path is left
    // alone until it is unplugged.
    if (m_denied.contains(path))
        return false;
    if (m_scanner.Open(path, true, false, true, false)) {
        m_inUse.erase(path);
        return true;
    }
    const int error = m_scanner.GetOpenError();
    if (error == EACCES || error == EPERM) {
        m_denied.insert(path);
        m_receiver.OnOpenDenied(path, error);
    }
    // Another program's hold ends when it quits: the path is tried on every pass, and told of
    // again only after it has opened once.
    if (error == kNodeInUse && m_inUse.insert(path).second)
        m_receiver.OnOpenDenied(path, error);
    return false;
}

bool DeviceScanThread::DropLostInterfaces() {
    bool lost = false;
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        DeviceSlot& slot = m_slots[i];
        if (!slot.bound || m_backend->Exists(slot.path))
            continue;
        slot.bound = 0;
        slot.path.clear();
        lost = true;
        m_receiver.OnSlotLost(static_cast<int>(i));
    }
    return lost;
}

} // namespace transport
