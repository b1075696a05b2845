#pragma once
// A keyboard object talking to the virtual keyboard, by cable or through its receiver, with
// private user and program data folders holding the shipped keyboard profile.

#include "devices/KelvaneKeyboardDevice.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace keyboardtest {

using Bytes = std::vector<std::uint8_t>;

// One request as it reached the device: command, data length, offset and data.
struct Request {
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t offset;
    Bytes data;
};

// The data of every request with `command`, checking that the offsets run on without gaps.
Bytes Gathered(const std::vector<Request>& requests, std::uint8_t command);

class KeyboardTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool ThroughReceiver() const { return GetParam(); }
    sim::VirtualDevice& Wire() { return ThroughReceiver() ? *receiver : *board; }
    std::vector<Request> Requests();
    // The command bytes of the requests, in order.
    Bytes Commands();
    std::size_t Chunk() const { return ThroughReceiver() ? 24 : 56; }

    void WriteUserFile(const std::string& name, const std::string& text);
    void WriteProgramFile(const std::string& name, const std::string& text);
    std::string UserFolder() const;
    // "macro.config" listing `count` macros.
    void WriteMacroLibrary(int count);
    // Device key k's three bytes in the virtual keyboard's table.
    devices::KeyCode DeviceCode(int k);

    std::unique_ptr<test::DataFolders> folders;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*board);
    std::unique_ptr<devices::CKelvaneKeyboardDevice> keyboard;
};

std::string KindName(const ::testing::TestParamInfo<bool>& info);

} // namespace keyboardtest
