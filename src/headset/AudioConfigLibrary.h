#pragma once
// The headset's audio configuration library: the call table the headset model drives, with
// the chip maker's names. Settings are named properties of an audio endpoint; a property call
// passes the address of a pointer to a 1024-byte buffer for the primary value and, where a
// channel is needed, one for the second value:
//   read  (direction 0): the library writes the value as text into the primary buffer;
//   write (direction 1): the primary buffer's first four bytes hold the value (a 32-bit
//         integer, or a single-precision float for the scalar volumes), the second buffer's
//         first four bytes the channel (-1 all channels, 0 channel 0).
// Every call returns 0 on success. All calls are made on the UI thread.

#include <cstddef>
#include <cstdint>

namespace headset {

inline constexpr std::size_t kPropertyBufferSize = 1024;

enum Flow : int { kFlowPlayback = 0, kFlowCapture = 1 };
enum Direction : int { kRead = 0, kWrite = 1 };

// As the library fills it. Types: 1 headphones, 7 and 4 other playback endpoints, 2 capture.
struct AudioEndpoint {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t reserved = 0;
    std::uint32_t state = 0; // 1 active
};

inline constexpr std::uint32_t kEndpointActive = 1;

class AudioConfigLibrary {
public:
    virtual ~AudioConfigLibrary() = default;

    virtual int ConfLibInit() = 0;
    virtual void CreateDeviceList() = 0;
    virtual int GetDeviceCount(int flow, std::uint32_t* count) = 0;
    virtual int GetDeviceById(int flow, std::uint32_t index, AudioEndpoint* endpoint) = 0;
    virtual int PropertyControl(AudioEndpoint endpoint, const wchar_t* property, void** primary,
                                void** second, int direction) = 0;
};

} // namespace headset
