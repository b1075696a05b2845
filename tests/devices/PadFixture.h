#pragma once
// A mouse pad object talking to the virtual pad by cable, with private user and program data
// folders holding the shipped pad profile and a mode list whose codes differ from the indexes.

#include "devices/KelvaneMousePadDevice.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace padtest {

using Bytes = std::vector<std::uint8_t>;

// One request as it reached the pad: command, data length, offset and data.
struct Request {
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t offset;
    Bytes data;
};

// The pad's mode codes by index: 0x20 + index, so a code is never its index.
constexpr std::uint8_t ModeCode(int index) {
    return static_cast<std::uint8_t>(0x20 + index);
}
inline constexpr int kModeCount = 9;

class PadTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<Request> Requests();
    Bytes Commands();
    Bytes Memory(std::size_t offset, std::size_t size);
    void PresetMemory(std::size_t offset, const Bytes& bytes);

    std::unique_ptr<test::DataFolders> folders;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> virtualPad =
        sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    std::unique_ptr<devices::CKelvaneMousePadDevice> pad;
};

} // namespace padtest
