#pragma once
// A HID backend of virtual devices that tests and the demo plug in and pull out at run time,
// from any thread. It stands where the kernel and the hidraw backend stand for a real device:
// it reads each device's report descriptor as the host parses it, and hands out one handle
// per opened collection. Each plug-in gets a fresh node ("virtual/keyboard-3"), so a device plugged
// in again shows new paths, as a real device gets a new /dev/hidrawN.
//
//   sim::VirtualHidBackend backend;
//   auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
//   backend.Plug(keyboard);
//   auto channel = backend.Open(keyboard->CommandPath(), {});

#include "sim/VirtualDevice.h"
#include "transport/HidBackend.h"
#include "transport/HidTypes.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class VirtualHidBackend : public transport::HidBackend {
public:
    VirtualHidBackend();
    VirtualHidBackend(const VirtualHidBackend&) = delete;
    VirtualHidBackend& operator=(const VirtualHidBackend&) = delete;
    ~VirtualHidBackend() override; // unplugs every device

    // False when the device is plugged in already, here or elsewhere. Plugging and unplugging
    // end a WaitForChange.
    bool Plug(const std::shared_ptr<VirtualDevice>& device);
    // Its paths vanish; reads and writes on its open handles fail with -1 from now on.
    // False when it was not plugged in here.
    bool Unplug(const std::shared_ptr<VirtualDevice>& device);
    void UnplugAll();
    std::vector<std::shared_ptr<VirtualDevice>> PluggedDevices() const;

    // One path per top-level collection of every plugged device, in plug order.
    bool Enumerate(std::vector<std::string>& paths) override;
    // nullptr when no plugged device has that path, or with *error the device's open refusal
    // (EACCES, or kNodeInUse while it is owned elsewhere).
    std::unique_ptr<transport::HidDevice>
    Open(const std::string& path, const transport::OpenFlags& flags, int* error = nullptr) override;
    bool Exists(const std::string& path) override;
    int WaitForChange(transport::Event& stop, int timeoutMs) override;

private:
    struct Plugged {
        std::shared_ptr<VirtualDevice> device;
        std::vector<transport::HidCollection> collections; // the host's view of the descriptor
    };
    const Plugged* FindLocked(const std::string& path) const;

    // Readable from a plug or unplug until the wait that reports it.
    void MarkChanged();

    mutable std::mutex m_mutex;
    std::vector<Plugged> m_devices;
    int m_changeFd;
    unsigned m_plugCount = 0;
};

} // namespace sim
