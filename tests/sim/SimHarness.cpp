#include "SimHarness.h"

#include <gtest/gtest.h>

#include <chrono>

namespace simtest {

void Sign(Report& request) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < request.size(); ++i)
        sum += request[i];
    request[1] = static_cast<std::uint8_t>(sum & 0xFF);
    request[2] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
}

Report MakeRequest(std::uint8_t command, const Bytes& data, std::uint16_t offset) {
    Report request{};
    request[0] = 0x04;
    request[3] = command;
    request[4] = static_cast<std::uint8_t>(data.size());
    request[5] = static_cast<std::uint8_t>(offset & 0xFF);
    request[6] = static_cast<std::uint8_t>(offset >> 8);
    std::copy(data.begin(), data.end(), request.begin() + 8);
    Sign(request);
    return request;
}

Report MakeReadRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset) {
    Report request = MakeRequest(command, {}, offset);
    request[4] = length;
    Sign(request);
    return request;
}

Harness::Harness(sim::VirtualProduct product) : Harness(sim::MakeVirtualDevice(product)) {}

Harness::Harness(std::shared_ptr<sim::VirtualDevice> plugged) : device(std::move(plugged)) {
    device->SetReplyDelay(std::chrono::microseconds(0));
    EXPECT_TRUE(backend.Plug(device));
    command = backend.Open(device->CommandPath(), {});
    EXPECT_NE(command, nullptr);
}

Report Harness::Transact(const Report& request) {
    Report reply{};
    if (!command)
        return reply;
    EXPECT_EQ(command->Write(request.data(), request.size(), 1000), 64);
    if (command->Read(reply.data(), reply.size(), 1000) != 64)
        reply.fill(0);
    return reply;
}

Bytes Harness::ReadChunked(std::uint8_t code, std::size_t length, std::size_t chunk,
                           std::uint16_t start) {
    Bytes bytes;
    for (std::size_t done = 0; done < length; done += chunk) {
        const auto part = static_cast<std::uint8_t>(std::min(chunk, length - done));
        const Report reply =
            Transact(MakeReadRequest(code, part, static_cast<std::uint16_t>(start + done)));
        EXPECT_EQ(reply[3], code);
        EXPECT_EQ(reply[7], 0) << "reading at " << start + done;
        bytes.insert(bytes.end(), reply.begin() + 8, reply.begin() + 8 + part);
    }
    return bytes;
}

void Harness::WriteChunked(std::uint8_t code, const Bytes& bytes, std::size_t chunk,
                           std::uint16_t start) {
    for (std::size_t done = 0; done < bytes.size(); done += chunk) {
        const auto end =
            bytes.begin() + static_cast<std::ptrdiff_t>(std::min(done + chunk, bytes.size()));
        const Report reply = Transact(MakeRequest(code, Bytes(bytes.begin() + done, end),
                                                  static_cast<std::uint16_t>(start + done)));
        EXPECT_EQ(reply[3], code);
        EXPECT_EQ(reply[7], 0) << "writing at " << start + done;
    }
}

} // namespace simtest
