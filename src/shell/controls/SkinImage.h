#pragma once
// Images named by the program's own control attributes: a path relative to the skin folder,
// or an image text such as "file='x.png' source='0,0,10,10'" or "res='x.png' fade='80'".

#include <QImage>
#include <QString>

namespace shell {

// The value of key='...' in an image text; empty when the key is absent.
QString ImageTextValue(const QString& image, const QString& key);
// The file an image text names (its "file" or "res" value, or the text itself).
QString ImageFile(const QString& image);
// The image loaded from the skin folder; a null image when there is none.
QImage LoadSkinImage(const QString& image);
// The image with every pixel's colour replaced by `rgb`, keeping its alpha.
QImage Tinted(const QImage& image, unsigned rgb);

} // namespace shell
