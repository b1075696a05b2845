#pragma once
// MacroRecorder: turns the keys and mouse buttons captured while the macro panel records into
// macro events and puts them into the panel's event list. The capture layer feeds it inputs
// in input order; the editor reads the list and the result of each input.
//
// What is recorded:
// - a key press or release, unless the system repeats a held key: a press flagged as
//   auto-repeat, or a second press of the key last pressed before its release, is dropped,
//   as is a release flagged as auto-repeat (X11 repeats a key as release/press pairs);
// - a mouse-button press or release, unless it repeats the previous mouse change (the same
//   button going the same way), and unless it is a left-button change inside the stop
//   button's rectangle: the click that ends the recording adds nothing;
// - keys and buttons the tables do not have, inputs with no row selected (before, after,
//   replace) and inputs once the list holds kMaxMacroRows rows (a new row) are dropped.
//
// Delays (the delay of an event is the wait after it): the input's delay d is the fixed delay
// (Fixed), 0 (Ignored), or the time since the previous recorded input or the start, at most
// 65535 (Recorded). The row directly in front of the new one takes d; the new row takes d in
// Fixed mode and 0 otherwise, and 0 when it is the list's only row. So in Recorded mode the
// time between two inputs ends up on the earlier one and the last recorded event keeps 0.
// Replacing rewrites the selected row's "Type" and "Button" only, and times nothing.

#include "macro/MacroEventList.h"
#include "macro/RecordingInput.h"
#include "macro/RecordingMode.h"
#include "platform/WinKeyTables.h"

#include <cstdint>
#include <optional>

namespace macro {

struct RecordResult {
    enum Kind { Dropped, Inserted, Replaced };
    Kind kind = Dropped;
    int row = -1;        // the inserted or replaced row
    int delayedRow = -1; // the row in front of an inserted one, whose delay was set; or −1
};

class MacroRecorder {
public:
    // The recorder writes into `list`, which must outlive it.
    explicit MacroRecorder(MacroEventList& list) : m_list(list) {}

    // Starts recording. now: the time of the start, from which the first input is timed.
    // fixedDelay is kept (at most 65535) only in Fixed mode; the last one kept stays the
    // fixed delay otherwise.
    void Start(TimingMode mode, RecordPlace place, std::uint32_t fixedDelay, Milliseconds now);
    void Stop() { m_recording = false; }
    bool IsRecording() const { return m_recording; }

    TimingMode Mode() const { return m_mode; }
    RecordPlace Place() const { return m_place; }
    std::uint16_t FixedDelay() const { return m_fixedDelay; }

    // Left-button changes inside this screen rectangle (the stop button's, set again when its
    // window moves) are not recorded.
    void SetStopButtonRect(const ScreenRect& rect) { m_stopButton = rect; }

    RecordResult OnKey(const KeyInput& input);
    // A key as the key capture delivers it: message 0x100/0x104 down, 0x101/0x105 up.
    RecordResult OnHookKey(unsigned message, const platform::KeyboardHookRecord& record,
                           Milliseconds now);
    RecordResult OnMouse(const MouseInput& input);
    // A mouse-button message (0x0201 ... 0x020C) and the mouse record's extra-button field.
    RecordResult OnHookMouse(unsigned message, std::uint32_t mouseData, ScreenPoint position,
                             Milliseconds now);

private:
    RecordResult OnKeyAt(std::optional<std::size_t> tablePosition, bool down, Milliseconds now);
    RecordResult Record(config::MacroEvent event, Milliseconds now);
    RecordResult ReplaceSelected(const config::MacroEvent& event);
    std::optional<std::size_t> InsertPosition();
    std::uint16_t NextDelay(Milliseconds now);

    struct MouseState {
        std::uint8_t buttonBit = 0;
        bool down = false;
    };

    MacroEventList& m_list;
    bool m_recording = false;
    TimingMode m_mode = TimingMode::Recorded;
    RecordPlace m_place = RecordPlace::Append;
    std::uint16_t m_fixedDelay = 0;
    Milliseconds m_lastTime = 0;
    ScreenRect m_stopButton;
    std::optional<std::size_t> m_heldKey;  // the key last pressed, until released
    std::optional<MouseState> m_lastMouse; // the previous mouse change
};

} // namespace macro
