#include "shell/macro/MacroEventText.h"

#include "devices/KeyCode.h"
#include "shell/keyset/KeyNameTable.h"
#include "ui/ResourceManager.h"

namespace shell::macro {

namespace {

QString Text(const char* id) {
    return ui::CResourceManager::GetInstance().GetText(QString::fromLatin1(id));
}

QString KeyText(const config::MacroEvent& event) {
    using namespace shell::keyset;
    const bool modifier = event.type == config::kMacroModifierKey;
    const std::optional<std::size_t> row =
        modifier ? FindModifierRow(event.button)
                 : FindKeyNameRow(devices::KeyboardCode(0, event.button));
    if (row)
        return Text(KeyNameTable()[*row].textId);
    return Text("macro_event_key").arg(event.button);
}

QString ButtonText(std::uint8_t button) {
    switch (button) {
    case 1:
        return Text("macro_event_left");
    case 2:
        return Text("macro_event_right");
    case 4:
        return Text("macro_event_middle");
    case 8:
        return Text("macro_event_back");
    case 16:
        return Text("macro_event_forward");
    default:
        return Text("macro_event_button").arg(button);
    }
}

QString MoveText(const config::MacroEvent& event) {
    const bool horizontal = event.type == config::kMacroMoveHorizontal;
    const char* id = horizontal ? (event.down ? "macro_event_move_left" : "macro_event_move_right")
                                : (event.down ? "macro_event_move_up" : "macro_event_move_down");
    return Text(id).arg(event.button);
}

} // namespace

QString MacroEventText(const config::MacroEvent& event) {
    switch (event.type) {
    case config::kMacroModifierKey:
    case config::kMacroKey:
        return KeyText(event);
    case config::kMacroMouseButton:
        return ButtonText(event.button);
    case config::kMacroMoveHorizontal:
    case config::kMacroMoveVertical:
        return MoveText(event);
    default:
        return Text("macro_event_other").arg(event.type).arg(event.button);
    }
}

QString MacroEventStyle(const config::MacroEvent& event) {
    if (event.type == config::kMacroModifierKey || event.type == config::kMacroKey)
        return QStringLiteral("macro_label_keyboard_style");
    if (event.type >= 1 && event.type <= 5)
        return QStringLiteral("macro_label_mouse_style");
    return QStringLiteral("macro_label_text_style");
}

QString MacroDirectionText(const config::MacroEvent& event) {
    return Text(event.down ? "macro_event_down" : "macro_event_up");
}

QString MacroDirectionStyle(const config::MacroEvent& event) {
    return event.down ? QStringLiteral("macro_label_down_style")
                      : QStringLiteral("macro_label_up_style");
}

} // namespace shell::macro
