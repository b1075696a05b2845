#pragma once
// How a recording times its events and where it puts them.

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

} // namespace macro
