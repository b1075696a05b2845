#include "macro/MacroRecorder.h"

#include "macro/CapturedKey.h"
#include "macro/MouseButtonTable.h"

#include <algorithm>

namespace macro {

void MacroRecorder::Start(TimingMode mode, RecordPlace place, std::uint32_t fixedDelay,
                          Milliseconds now) {
    m_mode = mode;
    m_place = place;
    if (mode == TimingMode::Fixed)
        m_fixedDelay = static_cast<std::uint16_t>(std::min<std::uint32_t>(fixedDelay, 65535));
    m_lastTime = now;
    m_heldKey.reset();
    m_lastMouse.reset();
    m_recording = true;
}

RecordResult MacroRecorder::OnKey(const KeyInput& input) {
    if (!m_recording || input.autoRepeat)
        return {};
    const std::optional<CapturedKey> key = CaptureLinuxKey(input.linuxKeyCode);
    return OnKeyAt(key ? std::optional{key->tablePosition} : std::nullopt, input.down, input.time);
}

RecordResult MacroRecorder::OnHookKey(unsigned message, const platform::KeyboardHookRecord& record,
                                      Milliseconds now) {
    if (!m_recording)
        return {};
    const std::optional<CapturedKey> key = CaptureHookRecord(record);
    return OnKeyAt(key ? std::optional{key->tablePosition} : std::nullopt,
                   platform::IsKeyDownMessage(message), now);
}

RecordResult MacroRecorder::OnKeyAt(std::optional<std::size_t> tablePosition, bool down,
                                    Milliseconds now) {
    if (!tablePosition)
        return {};
    // The system repeats a held key as further presses of it.
    if (down) {
        if (m_heldKey == tablePosition)
            return {};
        m_heldKey = tablePosition;
    } else if (m_heldKey == tablePosition) {
        m_heldKey.reset();
    }
    const std::optional<CapturedKey> key = CaptureTablePosition(*tablePosition);
    config::MacroEvent event;
    event.type = key->type;
    event.button = key->button;
    event.down = down;
    return Record(event, now);
}

RecordResult MacroRecorder::OnMouse(const MouseInput& input) {
    const MouseButtonRow row = MouseButtonRowOf(input.button, input.down);
    return OnHookMouse(row.message, std::uint32_t{row.extraButton} << 16, input.position,
                       input.time);
}

RecordResult MacroRecorder::OnHookMouse(unsigned message, std::uint32_t mouseData,
                                        ScreenPoint position, Milliseconds now) {
    if (!m_recording)
        return {};
    const std::optional<MouseButtonRow> row = FindMouseButtonRow(message, mouseData);
    if (!row)
        return {};
    // Compared by button as well as by message: both extra buttons share their messages.
    const MouseState state{row->buttonBit, row->Down()};
    if (m_lastMouse && m_lastMouse->buttonBit == state.buttonBit && m_lastMouse->down == state.down)
        return {};
    m_lastMouse = state;
    if (row->buttonBit == 1 && m_stopButton.Contains(position))
        return {};
    config::MacroEvent event;
    event.type = static_cast<std::uint8_t>(row->flags & 0x7F);
    event.button = row->buttonBit;
    event.down = row->Down();
    return Record(event, now);
}

RecordResult MacroRecorder::Record(config::MacroEvent event, Milliseconds now) {
    if (m_place == RecordPlace::Replace)
        return ReplaceSelected(event);
    const std::optional<std::size_t> position = InsertPosition();
    if (!position || m_list.events.size() >= kMaxMacroRows)
        return {};
    const std::uint16_t delay = NextDelay(now);
    auto& events = m_list.events;
    event.delay = events.empty() || m_mode != TimingMode::Fixed ? 0 : delay;
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(*position), event);
    const int row = static_cast<int>(*position);
    if (m_place == RecordPlace::Before)
        m_list.selected = row + 1;
    else if (m_place == RecordPlace::After)
        m_list.selected = row;
    RecordResult result{RecordResult::Inserted, row, -1};
    if (row > 0) {
        events[static_cast<std::size_t>(row - 1)].delay = delay;
        result.delayedRow = row - 1;
    }
    return result;
}

RecordResult MacroRecorder::ReplaceSelected(const config::MacroEvent& event) {
    if (!m_list.HasSelection())
        return {};
    config::MacroEvent& selected = m_list.events[static_cast<std::size_t>(m_list.selected)];
    selected.type = event.type;
    selected.button = event.button;
    return {RecordResult::Replaced, m_list.selected, -1};
}

std::optional<std::size_t> MacroRecorder::InsertPosition() {
    if (m_place == RecordPlace::Append)
        return m_list.events.size();
    if (!m_list.HasSelection())
        return std::nullopt;
    const auto selected = static_cast<std::size_t>(m_list.selected);
    return m_place == RecordPlace::Before ? selected : selected + 1;
}

std::uint16_t MacroRecorder::NextDelay(Milliseconds now) {
    switch (m_mode) {
    case TimingMode::Fixed:
        return m_fixedDelay;
    case TimingMode::Ignored:
        return 0;
    case TimingMode::Recorded:
        break;
    }
    const Milliseconds elapsed = now > m_lastTime ? now - m_lastTime : 0;
    m_lastTime = now;
    return static_cast<std::uint16_t>(std::min<Milliseconds>(elapsed, config::kMaxMacroDelay));
}

} // namespace macro
