#include "shell/DesktopSettings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace shell {

namespace {
struct SettingsProgram {
    const char* program;
    const char* keyboardArgument; // nullptr: the program takes none
    const char* mouseArgument;
    const char* keyboardProgram; // a separate program for the keyboard, or nullptr
};
// GNOME, KDE Plasma, Xfce, MATE, Cinnamon.
constexpr SettingsProgram kPrograms[] = {
    {"gnome-control-center", "keyboard", "mouse", nullptr},
    {"systemsettings", "kcm_keyboard", "kcm_mouse", nullptr},
    {"xfce4-mouse-settings", nullptr, nullptr, "xfce4-keyboard-settings"},
    {"mate-mouse-properties", nullptr, nullptr, "mate-keyboard-properties"},
    {"cinnamon-settings", "keyboard", "mouse", nullptr},
};
} // namespace

bool OpenDesktopInputSettings(int which) {
    if (which != 0 && which != 1)
        return false;
    for (const SettingsProgram& p : kPrograms) {
        const char* name = which == 0 && p.keyboardProgram ? p.keyboardProgram : p.program;
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (path.isEmpty())
            continue;
        const char* argument = which == 0 ? p.keyboardArgument : p.mouseArgument;
        const QStringList arguments =
            argument ? QStringList{QString::fromLatin1(argument)} : QStringList{};
        return QProcess::startDetached(path, arguments);
    }
    return false;
}

} // namespace shell
