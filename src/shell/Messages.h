#pragma once
// The program's own window messages and the messages registered by name with other programs.

#include "ui/UIDefs.h"

#include <QString>

#include <string>

namespace shell {

using ui::UINT;

// Private messages of the main window.
enum : UINT {
    UM_HOOK_SWITCH = 0x041E,
    UM_SHOW_PROGRESS = 0x0C00,
    UM_SET_LANGUAGE = 0x0C11,
    UM_SLOT_BOUND = 0x0C12,
    UM_SLOT_LOST = 0x0C13,
    UM_OPEN_SETTINGS = 0x0C15,
    UM_CLEAR_UPDATE_MARK = 0x0C16,
    // lParam: the OpenDenial the scan thread waits with.
    UM_OPEN_DENIED = 0x0C17,
    // wParam: a keyboard's battery level, after each power read.
    UM_POWER_LEVEL = 0x0D01,
    UM_RECEIVER_STATE = 0x0D03,
};

// What UM_OPEN_DENIED carries: a path whose open was refused and the errno.
struct OpenDenial {
    std::string path;
    int error;
};

// Registered at start-up (RegisterProgramMessages); 0 until then.
struct RegisteredMessages {
    UINT instance = 0;          // RM_INSTANCE: "QUARIN Z17 Keyboard"
    UINT settingsRelay = 0;     // RM_SETTINGS_RELAY
    UINT lightControlState = 0; // RM_LIGHT_CONTROL_STATE
    UINT setLightControl = 0;   // RM_SET_LIGHT_CONTROL
    UINT identify = 0;          // RM_IDENTIFY
    UINT audioCapture = 0;      // RM_AUDIO_CAPTURE
    // Game lighting events: wParam the event form (0, 1 or 2), lParam a lighting mode.
    UINT gameStart = 0; // "Game_Start"
    UINT gameEnd = 0;   // "Game_End"
    UINT gameKill = 0;  // "Game_Kill"
    UINT gameDeath = 0; // "Game_Death"
};
extern RegisteredMessages g_messages;

// Registers RM_INSTANCE; returns its number.
UINT RegisterInstanceMessage();
// Registers the five GUID-named messages in their order, then the game lighting events.
void RegisterProgramMessages();
// The game lighting event of this name ("Game_Start", ...), or 0.
UINT GameEventMessage(const QString& name);

} // namespace shell
