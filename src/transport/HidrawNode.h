#pragma once
// What a /dev/hidrawN node is, read straight from the file system: which hid device is behind
// it, and that device's report descriptor.

#include "transport/HidrawIdentity.h"

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace transport {

struct NodeIdentity {
    dev_t deviceNumber = 0;
    std::string hidName; // the hid device's sysfs name, "0003:320F:5001.0007"
    HidId hid;
};

// False when the node is missing, is not a character device or has no hid device behind it.
// Costs a stat() and a readlink(): cheap enough for the removal check of every pass.
bool ReadNodeIdentity(const std::string& node, NodeIdentity& identity);

// Reads a report descriptor from a sysfs "report_descriptor" file.
bool ReadDescriptorFile(const std::string& file, std::vector<std::uint8_t>& descriptor);
// Reads the report descriptor through an open hidraw node.
bool ReadDescriptorFromNode(int fd, std::vector<std::uint8_t>& descriptor);
// The sysfs "report_descriptor" file of the hid device behind a hidraw device number.
std::string DescriptorFileOf(dev_t deviceNumber);

} // namespace transport
