#pragma once
// The hook messages: registered by name, so that every part of the program that registers a
// name gets the same number. A capture flag names the keyboard message that carries the keys it
// captures and, for the macro recorder's flags, the mouse message that carries its buttons.

#include "ui/UIDefs.h"

namespace shell::keyset {

// Capture flags; one is active at a time.
enum : unsigned {
    kCaptureSingleKey = 0x001,    // key assignment
    kCaptureHitKey = 0x002,       // key capture for other panels
    kCaptureMacroAppend = 0x004,  // macro recording, at the end
    kCaptureMacroBefore = 0x008,  // macro recording, before the selected event
    kCaptureMacroAfter = 0x010,   // macro recording, after the selected event
    kCaptureMacroReplace = 0x020, // replace the selected event
    // The mouse messages' flags; no panel of this program asks for them.
    kCaptureMouseSingleKey = 0x100,
    kCaptureMouseHitKey = 0x200,
    kCaptureMouseMacro = 0x400,
};

// The number of a hook message by name ("WM_HOOK_KEY_SINGLEKEY_MSG", ...).
ui::UINT HookMessage(const char* name);
// "WM_HOOK_KEY_SINGLEKEY_MSG": a key captured for the key assignment panel.
ui::UINT SingleKeyMessage();
// The keyboard message of a capture flag; 0 for a flag without one.
ui::UINT KeyboardMessageOfFlag(unsigned flag);
// The mouse message of a capture flag ("WM_HOOK_KEY_MSMACRO_MSG" for kCaptureMacroAppend, ...);
// 0 for a flag whose capture takes no mouse buttons.
ui::UINT MouseMessageOfFlag(unsigned flag);
// Registers all twenty-three hook, mouse and game messages in their order.
void RegisterHookMessages();

} // namespace shell::keyset
