#include "shell/Messages.h"

#include "platform/Paths.h"
#include "ui/RegisteredMessage.h"

namespace shell {

RegisteredMessages g_messages;

UINT RegisterInstanceMessage() {
    g_messages.instance = ui::RegisterWindowMessage(QString::fromUtf8(platform::kProductTitle));
    return g_messages.instance;
}

void RegisterProgramMessages() {
    using ui::RegisterWindowMessage;
    g_messages.settingsRelay =
        RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"));
    g_messages.lightControlState =
        RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}"));
    g_messages.setLightControl =
        RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF17}"));
    g_messages.identify =
        RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF18}"));
    // The last group of this one ends in BE19, not BF19.
    g_messages.audioCapture =
        RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBE19}"));
    g_messages.gameStart = RegisterWindowMessage(QStringLiteral("Game_Start"));
    g_messages.gameEnd = RegisterWindowMessage(QStringLiteral("Game_End"));
    g_messages.gameKill = RegisterWindowMessage(QStringLiteral("Game_Kill"));
    g_messages.gameDeath = RegisterWindowMessage(QStringLiteral("Game_Death"));
}

UINT GameEventMessage(const QString& name) {
    if (name == QLatin1String("Game_Start"))
        return g_messages.gameStart;
    if (name == QLatin1String("Game_End"))
        return g_messages.gameEnd;
    if (name == QLatin1String("Game_Kill"))
        return g_messages.gameKill;
    if (name == QLatin1String("Game_Death"))
        return g_messages.gameDeath;
    return 0;
}

} // namespace shell
