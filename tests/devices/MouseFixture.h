#pragma once
// A mouse object talking to the virtual mouse, by cable or through its receiver, with private
// user and program data folders holding the shipped mouse profile and mode list.

#include "devices/KelvaneMouseDevice.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace mousetest {

using Bytes = std::vector<std::uint8_t>;

// One request as it reached the device: command, data length, offset and data.
struct Request {
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t offset;
    Bytes data;
};

// The data of every request with `command`, checking that the offsets run on from `offset`
// without gaps.
Bytes Gathered(const std::vector<Request>& requests, std::uint8_t command, std::uint16_t offset);

class MouseTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool ThroughReceiver() const { return GetParam(); }
    sim::VirtualDevice& Wire() { return ThroughReceiver() ? *receiver : *mouse; }
    void ClearWireLogs();
    std::vector<Request> Requests();
    // The command bytes of the requests, in order.
    Bytes Commands();
    // The commands as they go by cable, with a link check before each through the receiver.
    Bytes Checked(const Bytes& commands) const;
    // The mouse's memory from `offset`.
    Bytes Memory(std::size_t offset, std::size_t length) const;

    std::unique_ptr<test::DataFolders> folders;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*mouse);
    std::unique_ptr<devices::CKelvaneMouseDevice> device;
};

std::string KindName(const ::testing::TestParamInfo<bool>& info);

} // namespace mousetest
