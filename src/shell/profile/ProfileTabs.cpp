#include "shell/profile/ProfileTabs.h"

#include "ui/ControlNames.h"

namespace shell {

namespace {
enum Tab { kLight = 1, kKey, kMacro, kSystem, kCursor, kVoice, kMagic, kVirtual };
} // namespace

int ProfileTabNumber(const QString& name) {
    for (int i = 0; i < kProfileTabCount; ++i) {
        if (ui::NameIs(name, kProfileTabNames[static_cast<std::size_t>(i)]))
            return i + 1;
    }
    return 0;
}

ProfileTabRule ProfileTabsForKind(int deviceKind) {
    switch (deviceKind) {
    case 1: // keyboard by cable
        return {{kCursor}, {}};
    case 3: // mouse pad
    case 5:
        return {{kCursor, kMacro, kSystem, kKey}, {}};
    case 4:
        return {{kCursor, kMacro, kKey}, {}};
    case 7: // headset
        return {{kCursor, kMacro, kSystem, kKey}, {kVoice, kMagic, kVirtual}};
    default: // the mouse either way and the keyboard through its receiver keep every tab
        return {};
    }
}

} // namespace shell
