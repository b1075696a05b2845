#include "transport/HidrawNode.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace transport {

namespace {

std::string SysfsDeviceLink(dev_t deviceNumber) {
    char link[64];
    std::snprintf(link, sizeof link, "/sys/dev/char/%u:%u/device", major(deviceNumber),
                  minor(deviceNumber));
    return link;
}

} // namespace

bool ReadNodeIdentity(const std::string& node, NodeIdentity& identity) {
    struct stat status {};
    if (::stat(node.c_str(), &status) != 0 || !S_ISCHR(status.st_mode))
        return false;
    // The node's "device" link points at the hid device, whose name carries bus, vendor,
    // product and an instance number that changes whenever a device is plugged in.
    char target[PATH_MAX];
    const ssize_t length =
        ::readlink(SysfsDeviceLink(status.st_rdev).c_str(), target, sizeof target - 1);
    if (length <= 0)
        return false;
    const std::string_view name = LastPathComponent(std::string_view(target, length));
    const auto hid = ParseHidId(name);
    if (!hid)
        return false;
    identity.deviceNumber = status.st_rdev;
    identity.hidName = std::string(name);
    identity.hid = *hid;
    return true;
}

bool ReadDescriptorFile(const std::string& file, std::vector<std::uint8_t>& descriptor) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    descriptor.assign(HID_MAX_DESCRIPTOR_SIZE, 0);
    std::size_t total = 0;
    while (total < descriptor.size()) {
        const ssize_t got = ::read(fd, descriptor.data() + total, descriptor.size() - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    descriptor.resize(total);
    return total > 0;
}

bool ReadDescriptorFromNode(int fd, std::vector<std::uint8_t>& descriptor) {
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE)
        return false;
    hidraw_report_descriptor raw{};
    raw.size = static_cast<__u32>(size);
    if (::ioctl(fd, HIDIOCGRDESC, &raw) < 0)
        return false;
    descriptor.assign(raw.value, raw.value + size);
    return true;
}

std::string DescriptorFileOf(dev_t deviceNumber) {
    return SysfsDeviceLink(deviceNumber) + "/report_descriptor";
}

} // namespace transport
