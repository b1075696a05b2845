#pragma once
// A command channel opened on a virtual device, and helpers to read its wire log.

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace test {

class CommFixture : public ::testing::Test {
protected:
    // Plugs the keyboard (and its receiver) and opens the channel of the given mode.
    void Open(int mode) {
        ASSERT_TRUE(backend.Plug(keyboard));
        ASSERT_TRUE(backend.Plug(receiver));
        transport::CHidChannel& channel = mode == transport::CDeviceComm::kModeReceiver
                                              ? comm.ReceiverChannel()
                                              : comm.CableChannel();
        const auto& device = mode == transport::CDeviceComm::kModeReceiver ? receiver : keyboard;
        ASSERT_EQ(channel.Open(device->CommandPath(), true, true, true, false), 1);
        comm.SelectMode(mode);
        comm.open = true;
        keyboard->ClearWireLog();
        receiver->ClearWireLog();
    }
    sim::VirtualDevice& Active() { return comm.IsReceiverMode() ? *receiver : *keyboard; }
    std::vector<transport::Packet> Requests() {
        std::vector<transport::Packet> requests;
        for (const sim::WirePacket& p : Active().WireLog()) {
            if (p.direction == sim::WireDirection::Request) {
                transport::Packet bytes;
                std::copy(p.bytes.begin(), p.bytes.end(), bytes.begin());
                requests.push_back(bytes);
            }
        }
        return requests;
    }

    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> keyboard =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*keyboard);
    transport::CDeviceComm comm{&backend};
};

} // namespace test
