#pragma once
// How a recording times its events and where it puts them.

#include <optional>

namespace macro {

enum class TimingMode : int {
    Recorded = 1, // the time between two inputs, on the earlier event (at most 65535 ms)
    Fixed = 2,    // the fixed delay on every event
    Ignored = 3,  // 0 on every event
};

enum class RecordPlace {
    Append,  // at the end of the list
    Before,  // in front of the selected row, which stays selected
    After,   // behind the selected row; the new row becomes the selected one
    Replace, // the selected row takes the captured key or button, keeping its action and delay
};

// The capture flags of the recording places: 0x004 append, 0x008 before, 0x010 after, 0x020
// replace; nothing for the other flags.
inline constexpr unsigned kCaptureFlagAppend = 0x004;
inline constexpr unsigned kCaptureFlagBefore = 0x008;
inline constexpr unsigned kCaptureFlagAfter = 0x010;
inline constexpr unsigned kCaptureFlagReplace = 0x020;

inline std::optional<RecordPlace> PlaceOfCaptureFlag(unsigned flag) {
    switch (flag) {
    case kCaptureFlagAppend:
        return RecordPlace::Append;
    case kCaptureFlagBefore:
        return RecordPlace::Before;
    case kCaptureFlagAfter:
        return RecordPlace::After;
    case kCaptureFlagReplace:
        return RecordPlace::Replace;
    default:
        return std::nullopt;
    }
}

} // namespace macro
