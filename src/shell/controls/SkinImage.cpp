#include "shell/controls/SkinImage.h"

#include "ui/PaintManagerUI.h"

#include <QHash>
#include <QPainter>

namespace shell {

QString ImageTextValue(const QString& image, const QString& key) {
    const QString marker = key + QLatin1String("='");
    const int at = image.indexOf(marker);
    if (at < 0)
        return {};
    const int from = at + marker.size();
    const int end = image.indexOf(QLatin1Char('\''), from);
    return end < 0 ? image.mid(from) : image.mid(from, end - from);
}

QString ImageFile(const QString& image) {
    if (image.contains(QLatin1String("file='")))
        return ImageTextValue(image, QStringLiteral("file"));
    if (image.contains(QLatin1String("res='")))
        return ImageTextValue(image, QStringLiteral("res"));
    return image.trimmed();
}

QImage LoadSkinImage(const QString& image) {
    const QString file = ImageFile(image);
    if (file.isEmpty())
        return {};
    // Key panels draw the same few images on many buttons: keep each file once.
    static QHash<QString, QImage> cache;
    const QString path = ui::CPaintManagerUI::GetResourcePath() + file;
    auto found = cache.constFind(path);
    if (found == cache.constEnd())
        found = cache.insert(path, QImage(path));
    return *found;
}

QImage Tinted(const QImage& image, unsigned rgb) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(out.rect(), QColor::fromRgb(rgb & 0xFFFFFF));
    return out;
}

} // namespace shell
