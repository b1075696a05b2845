#include "transport/HidrawBackend.h"

#include "platform/DebugLog.h"
#include "transport/HidrawDevice.h"
#include "transport/HidrawNode.h"
#include "transport/NodeLock.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace transport {

namespace {

// Closes a file descriptor unless released.
class FdGuard {
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    ~FdGuard() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

int OpenMode(const OpenFlags& flags) {
    if (flags.read && flags.write)
        return O_RDWR;
    if (flags.write)
        return O_WRONLY;
    return flags.read ? O_RDONLY : O_PATH;
}

bool SameDevice(const NodeIdentity& identity, const std::string& path) {
    return identity.hid.vendorId == PathVendorId(path) &&
           identity.hid.productId == PathProductId(path);
}

} // namespace

HidrawBackend::~HidrawBackend() {
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool HidrawBackend::StartUdev() {
    if (m_udev)
        return true;
    m_udev = udev_new();
    if (!m_udev)
        return false;
    // udevd passes an event on once its rules ran, so the node has its permissions by then;
    // where no udevd runs (a container) only the kernel's own events come.
    const char* source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    m_monitor = udev_monitor_new_from_netlink(m_udev, source);
    if (m_monitor &&
        (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
         udev_monitor_enable_receiving(m_monitor) < 0)) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (!m_monitor)
        platform::DebugLog("hidraw: no udev monitor; every scan lists the devices again");
    return true;
}

// Drains the monitor; true when a hidraw node came, went or changed since the last call.
bool HidrawBackend::MonitorSawChange() {
    if (!m_monitor)
        return true;
    pollfd monitor{udev_monitor_get_fd(m_monitor), POLLIN, 0};
    const int ready = ::poll(&monitor, 1, 0);
    if (ready == 0)
        return false;
    if (ready < 0)
        return true;
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        changed = true;
    }
    return changed;
}

int HidrawBackend::WaitForChange(Event& stop, int timeoutMs) {
    int monitorFd = -1;
    {
        const std::lock_guard lock(m_mutex);
        if (StartUdev() && m_monitor)
            monitorFd = udev_monitor_get_fd(m_monitor);
    }
    const bool watched = monitorFd >= 0;
    if (!watched)
        timeoutMs = timeoutMs < 0 ? kUnwatchedWaitMs : std::min(timeoutMs, kUnwatchedWaitMs);
    // The monitor lives as long as the backend, so its descriptor is polled without the lock
    // that Enumerate and Open take.
    pollfd fds[2] = {{stop.WaitFd(), POLLIN, 0}, {monitorFd, POLLIN, 0}};
    int ready;
    do
        ready = ::poll(fds, 2, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (stop.IsSet())
        return kWaitStopped;
    if (!watched)
        return kWaitChanged;
    if (ready <= 0)
        return kWaitTimedOut;
    const std::lock_guard lock(m_mutex);
    // A message the monitor drops (it passed the kernel's filter but not udev's) ends the
    // wait early, as a time-out.
    if (!MonitorSawChange())
        return kWaitTimedOut;
    m_listValid = false; // the events are drained here, so the next Enumerate must list again
    return kWaitChanged;
}

bool HidrawBackend::Enumerate(std::vector<std::string>& paths) {
    const std::lock_guard lock(m_mutex);
    if (!StartUdev())
        return false;
    const bool changed = MonitorSawChange();
    if ((!m_listValid || changed) && !Rescan())
        return false;
    paths = m_paths;
    return true;
}

bool HidrawBackend::Rescan() {
    udev_enumerate* enumerate = udev_enumerate_new(m_udev);
    if (!enumerate)
        return false;
    if (udev_enumerate_add_match_subsystem(enumerate, "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate) < 0) {
        udev_enumerate_unref(enumerate);
        return false;
    }
    std::map<std::string, InterfacePtr> present;
    std::vector<std::string> paths;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        udev_device* hidraw = udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
        if (!hidraw)
            continue;
        const char* node = udev_device_get_devnode(hidraw);
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
        if (node && hid) {
            InterfacePtr known =
                Cached(node, udev_device_get_devnum(hidraw), udev_device_get_sysname(hid));
            InterfacePtr found = known ? known : Describe(hidraw, node, -1);
            if (found) {
                present[node] = found;
                const auto& collections = found->descriptor.collections;
                HidId id{0, found->attributes.vendorId, found->attributes.productId, {}};
                for (std::string& path :
                     InterfacePaths(node, id, found->interfaceNumber, collections.size()))
                    paths.push_back(std::move(path));
            }
        }
        udev_device_unref(hidraw);
    }
    udev_enumerate_unref(enumerate);
    m_interfaces.swap(present); // nodes that went are dropped here
    m_paths.swap(paths);
    m_listValid = true;
    return true;
}

// Reads what there is to know of a node: identity, USB interface number, version and the
// parsed report descriptor. fd, when not -1, is the open node, the descriptor's second source.
HidrawBackend::InterfacePtr HidrawBackend::Describe(udev_device* hidraw, const std::string& node,
                                                    int fd) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    if (!hid)
        return nullptr;
    const char* hidName = udev_device_get_sysname(hid);
    const char* hidIdText = udev_device_get_property_value(hid, "HID_ID");
    auto hidId = ParseHidId(hidIdText ? hidIdText : "");
    if (!hidId && hidName)
        hidId = ParseHidId(hidName);
    if (!hidId || !hidName)
        return nullptr;

    auto found = std::make_shared<Interface>();
    found->deviceNumber = udev_device_get_devnum(hidraw);
    found->hidName = hidName;
    found->attributes.vendorId = hidId->vendorId;
    found->attributes.productId = hidId->productId;
    if (udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface"))
        found->interfaceNumber =
            ParseHexAttribute(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber"));
    if (udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device"))
        found->attributes.versionNumber =
            ParseHexAttribute(udev_device_get_sysattr_value(usbDevice, "bcdDevice"));

    std::vector<std::uint8_t> bytes;
    const std::string file = std::string(udev_device_get_syspath(hid)) + "/report_descriptor";
    if (!ReadDescriptorFile(file, bytes) && !(fd >= 0 && ReadDescriptorFromNode(fd, bytes))) {
        platform::DebugLog("hidraw: no report descriptor for %s", node.c_str());
        return nullptr;
    }
    found->descriptor = ParseReportDescriptor(bytes.data(), bytes.size());
    if (!found->descriptor.ok)
        platform::DebugLog("hidraw: %s: report descriptor not usable: %s", node.c_str(),
                           found->descriptor.error.c_str());
    return found;
}

HidrawBackend::InterfacePtr HidrawBackend::Cached(const std::string& node, dev_t deviceNumber,
                                                  const std::string& hidName) const {
    const auto known = m_interfaces.find(node);
    if (known == m_interfaces.end() || known->second->deviceNumber != deviceNumber ||
        known->second->hidName != hidName)
        return nullptr;
    return known->second;
}

HidrawBackend::InterfacePtr HidrawBackend::Lookup(const NodeIdentity& identity,
                                                  const std::string& node, int fd) {
    const std::lock_guard lock(m_mutex);
    if (InterfacePtr known = Cached(node, identity.deviceNumber, identity.hidName))
        return known;
    if (!StartUdev())
        return nullptr;
    udev_device* hidraw = udev_device_new_from_devnum(m_udev, 'c', identity.deviceNumber);
    if (!hidraw)
        return nullptr;
    InterfacePtr found = Describe(hidraw, node, fd);
    udev_device_unref(hidraw);
    if (found)
        m_interfaces[node] = found;
    return found;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path, const OpenFlags& flags,
                                               int* error) {
    if (error)
        *error = 0;
    const std::string node = NodeOfPath(path);
    NodeIdentity identity;
    if (!ReadNodeIdentity(node, identity) || !SameDevice(identity, path))
        return nullptr;
    const int mode = OpenMode(flags);
    FdGuard fd(::open(node.c_str(), mode | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        if (error)
            *error = errno;
        return nullptr;
    }
    int lockError = 0;
    std::shared_ptr<NodeLock> nodeLock;
    if (mode == O_RDWR || mode == O_WRONLY)
        nodeLock = AcquireNodeLock(fd.Get(), &lockError);
    else if (mode == O_RDONLY)
        lockError = CheckNodeFree(fd.Get());
    if (lockError != 0) {
        if (error)
            *error = lockError;
        return nullptr;
    }
    // The device may have gone, and another taken its node, between the check and the open.
    NodeIdentity opened;
    if (!ReadNodeIdentity(node, opened) || opened.hidName != identity.hidName)
        return nullptr;
    const InterfacePtr found = Lookup(identity, node, mode == O_PATH ? -1 : fd.Get());
    if (!found || !found->descriptor.ok)
        return nullptr;
    const std::uint16_t collection = PathCollectionNumber(path);
    const std::size_t index = collection == 0 ? 0 : collection - 1u;
    if (index >= found->descriptor.collections.size())
        return nullptr;
    return std::make_unique<HidrawDevice>(fd.Release(), found->descriptor.collections[index],
                                          found->attributes, std::move(nodeLock));
}

bool HidrawBackend::Exists(const std::string& path) {
    NodeIdentity identity;
    return ReadNodeIdentity(NodeOfPath(path), identity) && SameDevice(identity, path);
}

} // namespace transport
