#include "shell/selector/DeviceItemImages.h"

namespace shell {

namespace {

DeviceItemLook LookFromStem(const char* stem) {
    const QString base = QStringLiteral("common/device_ico/") + QLatin1String(stem);
    return {base + QStringLiteral("_device_normal.png"),
            base + QStringLiteral("_device_selected.png"),
            base + QStringLiteral("_device_synchro_normal.png"),
            base + QStringLiteral("_device_synchro_selected.png"),
            QLatin1String(stem) + QStringLiteral("_device_name_text")};
}

} // namespace

DeviceItemLook DeviceItemLookFor(int kind, int subKind) {
    switch (kind) {
    case 1:
        return LookFromStem("kb");
    case 2:
        return LookFromStem("ms");
    case 3:
        if (subKind == 0)
            return LookFromStem("hard_mp");
        if (subKind == 1)
            return LookFromStem("soft_mp");
        break;
    case 4:
    case 7:
        return LookFromStem("hd");
    case 5:
        return LookFromStem("hub");
    default:
        break;
    }
    return LookFromStem("unknow");
}

} // namespace shell
