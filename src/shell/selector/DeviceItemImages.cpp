#include "shell/selector/DeviceItemImages.h"

namespace shell {

namespace {

DeviceItemLook Drawn(const char* stem, const char* picture) {
    const QString frame = QStringLiteral("common/device_ico/device_frame_");
    return {QStringLiteral("devices/") + QLatin1String(picture) + QStringLiteral(".svg"),
            frame + QStringLiteral("normal.png"),
            frame + QStringLiteral("selected.png"),
            frame + QStringLiteral("synchro_normal.png"),
            frame + QStringLiteral("synchro_selected.png"),
            QLatin1String(stem) + QStringLiteral("_device_name_text")};
}

} // namespace

DeviceItemLook DeviceItemLookFor(int kind, int subKind) {
    switch (kind) {
    case 1:
        return Drawn("kb", "keyboard");
    case 2:
        return Drawn("ms", "mouse");
    case 3:
        if (subKind == 0)
            return Drawn("hard_mp", "mousepad");
        if (subKind == 1)
            return Drawn("soft_mp", "mousepad");
        break;
    case 4:
    case 7:
        return Drawn("hd", "headset");
    case 5:
        return Drawn("hub", "hub");
    default:
        break;
    }
    return Drawn("unknow", "unknown");
}

QString ReceiverMarkImage() {
    return QStringLiteral("devices/receiver.svg");
}

QString DevicePictureFor(int kind, bool throughReceiver) {
    const QString link =
        throughReceiver ? QStringLiteral("-receiver.svg") : QStringLiteral("-cable.svg");
    switch (kind) {
    case 1:
        return QStringLiteral("devices/keyboard") + link;
    case 2:
        return QStringLiteral("devices/mouse") + link;
    case 3:
        return QStringLiteral("devices/mousepad.svg");
    case 4:
    case 7:
        return QStringLiteral("devices/headset.svg");
    case 5:
        return QStringLiteral("devices/hub.svg");
    default:
        return QStringLiteral("devices/unknown.svg");
    }
}

QString DeviceBodyFor(int kind, bool throughReceiver) {
    if (kind == 2)
        return throughReceiver ? QStringLiteral("devices/mouse-body-receiver.svg")
                               : QStringLiteral("devices/mouse-body-cable.svg");
    if (kind == 3)
        return QStringLiteral("devices/mousepad-body.svg");
    return {};
}

} // namespace shell
