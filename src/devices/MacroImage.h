#pragma once
// The image of the macros written to the keyboard's macro memory (command 0x15). Numbers are
// little-endian:
//   0  AA 55         magic
//   2  total length
//   4  macro count L
//   6  ten bytes of 0
//   16 L offsets, each macro's block from the start of the image, in device order
//   then the blocks: event count E, two bytes of 0, E events of four bytes (PackMacroEvent).

#include "config/MacroEvent.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devices {

using MacroBlocks = std::vector<std::vector<config::MacroEvent>>;

// DownloadMacros of the keyboard and the mouse: written, or nothing to write; above 0 the
// image is over the macro memory by that many four-byte events (+1) and was not sent.
inline constexpr int kMacroDownloadDone = 0;
// The image could not be written to the device.
inline constexpr int kMacroDownloadFailed = -1;

inline constexpr std::size_t kMacroImageHeaderSize = 16;
inline constexpr std::size_t kMacroMemoryUnit = 128; // information byte 6 counts these

// 16 + 6 × L + 4 × all events.
std::size_t MacroImageLength(const MacroBlocks& macros);
// What the image is over `capacity`, in four-byte events plus one: ((length − capacity) >> 2)
// + 1; 0 when it fits.
int MacroImageOverflow(std::size_t length, std::size_t capacity);
// Whole image; the caller has checked that it fits (its length fits 16 bits then).
std::vector<std::uint8_t> BuildMacroImage(const MacroBlocks& macros);

} // namespace devices
