#include "shell/windows/SkinImageStore.h"

#include "platform/Paths.h"

#include <QFileInfo>
#include <QSettings>

namespace shell {

namespace {
const QString kSection = QStringLiteral("SKINIMAGE");
const QString kFlags = QStringLiteral("FLAGS");
const QString kImage = QStringLiteral("IMAGE");
} // namespace

QString SkinImageFile() {
    const std::string folder = platform::UserFolder();
    if (folder.empty())
        return {};
    return QString::fromStdString(folder) + QStringLiteral("main.ini");
}

void WriteSkinImage(int flags, const QString& image) {
    const QString file = SkinImageFile();
    if (file.isEmpty())
        return;
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(kSection);
    ini.setValue(kFlags, QString::number(flags));
    ini.setValue(kImage, image);
    ini.endGroup();
    ini.sync();
}

std::optional<StoredSkinImage> ReadSkinImage() {
    const QString file = SkinImageFile();
    if (file.isEmpty() || !QFileInfo::exists(file))
        return std::nullopt;
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(kSection);
    const QString image = ini.value(kImage).toString();
    if (image.isEmpty())
        return std::nullopt;
    return StoredSkinImage{ini.value(kFlags).toString().toInt(), image};
}

} // namespace shell
