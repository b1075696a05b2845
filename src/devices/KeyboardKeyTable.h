#pragma once
// The keyboard's 170 on-screen keys: the native code of each, which names the key on the
// device and is also its default function. On-screen key i is the panel button "key_" i.

#include "devices/KeyCode.h"

#include <cstddef>
#include <string>

namespace devices {

inline constexpr std::size_t kOnScreenKeyCount = 170;

// kEmptyKeyCode for the positions without a key (18-20, 104, 126-169) and for an index out
// of range.
KeyCode NativeKeyCode(int onScreenKey);
// "key_" followed by the index.
std::string KeyButtonName(int onScreenKey);

} // namespace devices
