#include "sim/VirtualHidBackend.h"

#include "sim/VirtualHidHandle.h"
#include "transport/HidDescriptor.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace sim {

VirtualHidBackend::VirtualHidBackend() : m_changeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

VirtualHidBackend::~VirtualHidBackend() {
    UnplugAll();
    if (m_changeFd >= 0)
        ::close(m_changeFd);
}

bool VirtualHidBackend::Plug(const std::shared_ptr<VirtualDevice>& device) {
    const auto& descriptor = device->ReportDescriptor();
    const transport::ParsedDescriptor parsed =
        transport::ParseReportDescriptor(descriptor.data(), descriptor.size());
    const std::lock_guard lock(m_mutex);
    const std::string node =
        "virtual/" + std::string(device->Word()) + "-" + std::to_string(++m_plugCount);
    if (!device->PlugIn(node))
        return false;
    // A descriptor the host cannot parse leaves a device whose collections do not open.
    m_devices.push_back(
        {device, parsed.ok ? parsed.collections : std::vector<transport::HidCollection>{}});
    MarkChanged();
    return true;
}

bool VirtualHidBackend::Unplug(const std::shared_ptr<VirtualDevice>& device) {
    {
        const std::lock_guard lock(m_mutex);
        const auto it =
            std::find_if(m_devices.begin(), m_devices.end(),
                         [&](const Plugged& plugged) { return plugged.device == device; });
        if (it == m_devices.end())
            return false;
        m_devices.erase(it);
    }
    device->Unplug();
    MarkChanged();
    return true;
}

void VirtualHidBackend::UnplugAll() {
    std::vector<Plugged> devices;
    {
        const std::lock_guard lock(m_mutex);
        devices.swap(m_devices);
    }
    for (const auto& plugged : devices)
        plugged.device->Unplug();
    if (!devices.empty())
        MarkChanged();
}

std::vector<std::shared_ptr<VirtualDevice>> VirtualHidBackend::PluggedDevices() const {
    const std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<VirtualDevice>> devices;
    for (const auto& plugged : m_devices)
        devices.push_back(plugged.device);
    return devices;
}

bool VirtualHidBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    for (const auto& device : PluggedDevices()) {
        for (std::string& path : device->Paths())
            paths.push_back(std::move(path));
    }
    return true;
}

std::unique_ptr<transport::HidDevice>
VirtualHidBackend::Open(const std::string& path, const transport::OpenFlags& flags, int* error) {
    if (error)
        *error = 0;
    std::shared_ptr<VirtualDevice> device;
    transport::HidCollection collection;
    {
        const std::lock_guard lock(m_mutex);
        const Plugged* plugged = FindLocked(path);
        if (!plugged)
            return nullptr;
        const auto paths = plugged->device->Paths();
        const auto index =
            static_cast<std::size_t>(std::find(paths.begin(), paths.end(), path) - paths.begin());
        if (index >= plugged->collections.size())
            return nullptr;
        device = plugged->device;
        collection = plugged->collections[index];
    }
    if (const int refusal = device->OpenRefusal()) {
        if (error)
            *error = refusal;
        return nullptr;
    }
    VirtualDevice::Attachment attachment = device->Attach(path);
    if (!attachment.queue)
        return nullptr;
    return std::make_unique<VirtualHidHandle>(device, std::move(attachment.connection),
                                              std::move(attachment.queue), std::move(collection),
                                              flags);
}

bool VirtualHidBackend::Exists(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    return FindLocked(path) != nullptr;
}

int VirtualHidBackend::WaitForChange(transport::Event& stop, int timeoutMs) {
    pollfd fds[2] = {{stop.WaitFd(), POLLIN, 0}, {m_changeFd, POLLIN, 0}};
    int ready;
    do
        ready = ::poll(fds, 2, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (stop.IsSet())
        return kWaitStopped;
    if (ready <= 0)
        return kWaitTimedOut;
    std::uint64_t count;
    const ssize_t done = ::read(m_changeFd, &count, sizeof count); // back to not readable
    (void)done;
    return kWaitChanged;
}

void VirtualHidBackend::MarkChanged() {
    const std::uint64_t one = 1;
    const ssize_t done = ::write(m_changeFd, &one, sizeof one);
    (void)done; // a counter that is full is readable all the same
}

const VirtualHidBackend::Plugged* VirtualHidBackend::FindLocked(const std::string& path) const {
    for (const auto& plugged : m_devices) {
        const auto paths = plugged.device->Paths();
        if (std::find(paths.begin(), paths.end(), path) != paths.end())
            return &plugged;
    }
    return nullptr;
}

} // namespace sim
