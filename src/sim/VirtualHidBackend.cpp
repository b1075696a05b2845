#include "sim/VirtualHidBackend.h"

#include <algorithm>

namespace sim {

VirtualHidBackend::~VirtualHidBackend() {
    UnplugAll();
}

bool VirtualHidBackend::Plug(const std::shared_ptr<VirtualDevice>& device) {
    const std::lock_guard lock(m_mutex);
    const std::string node =
        "virtual/" + std::string(device->Word()) + "-" + std::to_string(++m_plugCount);
    if (!device->PlugIn(node))
        return false;
    m_devices.push_back(device);
    return true;
}

bool VirtualHidBackend::Unplug(const std::shared_ptr<VirtualDevice>& device) {
    {
        const std::lock_guard lock(m_mutex);
        const auto it = std::find(m_devices.begin(), m_devices.end(), device);
        if (it == m_devices.end())
            return false;
        m_devices.erase(it);
    }
    device->Unplug();
    return true;
}

void VirtualHidBackend::UnplugAll() {
    std::vector<std::shared_ptr<VirtualDevice>> devices;
    {
        const std::lock_guard lock(m_mutex);
        devices.swap(m_devices);
    }
    for (const auto& device : devices)
        device->Unplug();
}

std::vector<std::shared_ptr<VirtualDevice>> VirtualHidBackend::PluggedDevices() const {
    const std::lock_guard lock(m_mutex);
    return m_devices;
}

bool VirtualHidBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    for (const auto& device : PluggedDevices()) {
        for (std::string& path : device->Paths())
            paths.push_back(std::move(path));
    }
    return true;
}

std::unique_ptr<transport::HidDevice> VirtualHidBackend::Open(const std::string& path,
                                                              const transport::OpenFlags& flags) {
    const auto device = FindDevice(path);
    return device ? device->Open(path, flags) : nullptr;
}

bool VirtualHidBackend::Exists(const std::string& path) {
    return FindDevice(path) != nullptr;
}

std::shared_ptr<VirtualDevice> VirtualHidBackend::FindDevice(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        const auto paths = device->Paths();
        if (std::find(paths.begin(), paths.end(), path) != paths.end())
            return device;
    }
    return nullptr;
}

} // namespace sim
