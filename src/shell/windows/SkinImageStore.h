#pragma once
// "main.ini" in the user folder: the background image the user picked last. Section
// "SKINIMAGE" holds FLAGS (1: an image of the skin window's list or a file, 0: the default
// image) and IMAGE (the path handed to the main window).

#include <QString>
#include <optional>

namespace shell {

struct StoredSkinImage {
    int flags = 0;
    QString image;
};

// The full path of "main.ini"; empty when the user folder cannot be made.
QString SkinImageFile();
// Writes FLAGS and IMAGE; a failed write is not reported.
void WriteSkinImage(int flags, const QString& image);
// The stored choice, or nothing when the file or its IMAGE is missing.
std::optional<StoredSkinImage> ReadSkinImage();

} // namespace shell
