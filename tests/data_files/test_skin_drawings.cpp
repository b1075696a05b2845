// The skin's drawings as Qt's SVG renderer reads them: a drawing it cannot read shows as an
// empty box wherever the skin names it.

#include <QDirIterator>
#include <QSize>
#include <QStringList>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

QStringList SkinDrawings() {
    QStringList files;
    QDirIterator it(QStringLiteral(QUARIN_SOURCE_DATA_DIR "/skin"), {QStringLiteral("*.svg")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

TEST(SkinDrawings, EveryDrawingIsRead) {
    const QStringList files = SkinDrawings();
    // The device drawings at least: a wrong folder must not pass as "nothing to read".
    ASSERT_GE(files.filter(QStringLiteral("/skin/devices/")).size(), 10);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QSvgRenderer renderer(file);
        EXPECT_TRUE(renderer.isValid());
        EXPECT_FALSE(renderer.defaultSize().isEmpty());
    }
}

} // namespace
