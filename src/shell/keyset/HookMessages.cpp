#include "shell/keyset/HookMessages.h"

#include "ui/RegisteredMessage.h"

namespace shell::keyset {

ui::UINT HookMessage(const char* name) {
    return ui::RegisterWindowMessage(QString::fromLatin1(name));
}

ui::UINT SingleKeyMessage() {
    return HookMessage("WM_HOOK_KEY_SINGLEKEY_MSG");
}

ui::UINT KeyboardMessageOfFlag(unsigned flag) {
    switch (flag) {
    case kCaptureSingleKey:
        return SingleKeyMessage();
    case kCaptureHitKey:
        return HookMessage("WM_HOOK_KEY_HITKEY_MSG");
    case kCaptureMacroAppend:
        return HookMessage("WM_HOOK_KEY_KBMACRO_MSG");
    case kCaptureMacroBefore:
        return HookMessage("WM_HOOK_KEY_KBMACROPREVIOUS_MSG");
    case kCaptureMacroAfter:
        return HookMessage("WM_HOOK_KEY_KBMACROLATER_MSG");
    case kCaptureMacroReplace:
        return HookMessage("WM_HOOK_KEY_KBMACROSINGLE_MSG");
    case kCaptureMouseSingleKey:
        return HookMessage("WM_HOOK_MOU_SINGLEKEY_MSG");
    case kCaptureMouseHitKey:
        return HookMessage("WM_HOOK_MOU_HITKEY_MSG");
    case kCaptureMouseMacro:
        return HookMessage("WM_HOOK_MOU_KBMACRO_MSG");
    default:
        return 0;
    }
}

ui::UINT MouseMessageOfFlag(unsigned flag) {
    switch (flag) {
    case kCaptureMacroAppend:
        return HookMessage("WM_HOOK_KEY_MSMACRO_MSG");
    case kCaptureMacroBefore:
        return HookMessage("WM_HOOK_KEY_MSMACROPREVIOUS_MSG");
    case kCaptureMacroAfter:
        return HookMessage("WM_HOOK_KEY_MSMACROLATER_MSG");
    case kCaptureMacroReplace:
        return HookMessage("WM_HOOK_KEY_MSMACROSINGLE_MSG");
    default:
        return 0;
    }
}

void RegisterHookMessages() {
    for (const char* name : {"WM_HOOK_KEY_SINGLEKEY_MSG",
                             "WM_HOOK_KEY_HITKEY_MSG",
                             "WM_HOOK_KEY_KBMACRO_MSG",
                             "WM_HOOK_KEY_MSMACRO_MSG",
                             "WM_HOOK_KEY_KBMACROSINGLE_MSG",
                             "WM_HOOK_KEY_KBMACROPREVIOUS_MSG",
                             "WM_HOOK_KEY_KBMACROLATER_MSG",
                             "WM_HOOK_MOU_SINGLEKEY_MSG",
                             "WM_HOOK_MOU_HITKEY_MSG",
                             "WM_HOOK_MOU_KBMACRO_MSG",
                             "WM_HOOK_MOU_MSMACRO_MSG",
                             "WM_HOOK_KEY_MSMACROSINGLE_MSG",
                             "WM_HOOK_KEY_MSMACROPREVIOUS_MSG",
                             "WM_HOOK_KEY_MSMACROLATER_MSG",
                             "UWM_MOUSERBUTTONDOWN_USER_MSG",
                             "UWM_MOUSELBUTTONUP_USER_MSG",
                             "UWM_MOUSELBUTTONDOWN_USER_MSG",
                             "UWM_MOUSERBUTTONUP_USER_MSG",
                             "UWM_MOUSEMOVE_USER_MSG",
                             "Game_Start",
                             "Game_End",
                             "Game_Kill",
                             "Game_Death"})
        HookMessage(name);
}

} // namespace shell::keyset
