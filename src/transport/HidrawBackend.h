#pragma once
// The HID backend over the kernel's hidraw nodes, found through libudev. Each node is one
// interface; its report descriptor is parsed once and gives one path per top-level collection.
//
// A udev monitor tells whether any hidraw node came or went since the last Enumerate; when
// none did, the last list is returned without touching sysfs. The same monitor ends
// WaitForChange, so the scan sleeps until a node comes or goes.

#include "transport/HidBackend.h"
#include "transport/HidDescriptor.h"
#include "transport/HidrawNode.h"

#include <sys/types.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct udev;
struct udev_device;
struct udev_monitor;

namespace transport {

class HidrawBackend : public HidBackend {
public:
    HidrawBackend() = default;
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    // False when udev cannot list the hidraw devices.
    bool Enumerate(std::vector<std::string>& paths) override;
    // Read and write access map to O_RDONLY, O_WRONLY or O_RDWR; neither opens the node only
    // to look at it (O_PATH). Sharing and overlapped mean nothing here: every open is shared
    // and every transfer waits through poll(). Fails when the node now belongs to a device
    // other than the path's vendor and product.
    // An open that may write takes the node's lock (NodeLock.h) and holds it until the device
    // is closed; a read-only open only checks it, so that a scan does not take a node another
    // program owns. Either fails with *error kNodeInUse when another process owns the node.
    std::unique_ptr<HidDevice> Open(const std::string& path, const OpenFlags& flags,
                                    int* error = nullptr) override;
    // The node exists and still belongs to the path's vendor and product (node numbers are
    // reused as devices come and go).
    bool Exists(const std::string& path) override;
    // Wakes on the monitor's hidraw events. Without a monitor nothing tells of a change: the
    // wait then ends after kUnwatchedWaitMs at most, reporting a possible change.
    int WaitForChange(Event& stop, int timeoutMs) override;
    static constexpr int kUnwatchedWaitMs = 1000;

private:
    // One hidraw node as last seen.
    struct Interface {
        dev_t deviceNumber = 0;
        std::string hidName; // changes whenever a device is plugged in, even on the same node
        HidAttributes attributes;
        std::uint16_t interfaceNumber = 0;
        ParsedDescriptor descriptor;
    };
    using InterfacePtr = std::shared_ptr<const Interface>;

    bool StartUdev();
    bool MonitorSawChange();
    bool Rescan();
    InterfacePtr Describe(udev_device* hidraw, const std::string& node, int fd);
    InterfacePtr Cached(const std::string& node, dev_t deviceNumber,
                        const std::string& hidName) const;
    InterfacePtr Lookup(const NodeIdentity& identity, const std::string& node, int fd);

    std::mutex m_mutex;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr; // none: every Enumerate lists the devices again
    bool m_listValid = false;
    std::vector<std::string> m_paths;
    std::map<std::string, InterfacePtr> m_interfaces; // by node
};

} // namespace transport
