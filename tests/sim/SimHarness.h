#pragma once
// Drives a virtual device the way the host does: through the HID backend, with requests built
// byte by byte here rather than by the code under test.

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;
using Report = std::array<std::uint8_t, 64>;

// Report ID 4, command, data length, offset (little-endian), status 0, data; bytes 1-2 the
// sum of bytes 3 to 63.
Report MakeRequest(std::uint8_t command, const Bytes& data = {}, std::uint16_t offset = 0);
Report MakeReadRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset);
void Sign(Report& request);

// A device plugged into its own backend with its command collection open and no reply delay.
class Harness {
public:
    explicit Harness(sim::VirtualProduct product);
    explicit Harness(std::shared_ptr<sim::VirtualDevice> device);

    // Writes the request and reads one reply; a zero report when none arrives.
    Report Transact(const Report& request);
    // A chunked read of `length` bytes from `start`; fails the test on a bad status.
    Bytes ReadChunked(std::uint8_t command, std::size_t length, std::size_t chunk,
                      std::uint16_t start = 0);
    void WriteChunked(std::uint8_t command, const Bytes& bytes, std::size_t chunk,
                      std::uint16_t start = 0);

    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> device;
    std::unique_ptr<transport::HidDevice> command;
};

} // namespace simtest
