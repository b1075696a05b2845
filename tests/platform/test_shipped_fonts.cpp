// The fonts in the program's Font folder: the program loads them, and together they draw
// every character of every language file, so no text shows boxes on a system without such
// fonts of its own.

#include "platform/Paths.h"
#include "platform/PrivateFonts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRawFont>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// The fonts the build found in the system's font packages and copied.
QStringList ShippedFontNames() {
    return QString::fromUtf8(QUARIN_SHIPPED_FONTS).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

class ShippedFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShippedFontNames().isEmpty())
            GTEST_SKIP() << "the font packages are not installed (scripts/install-deps)";
        qunsetenv("QUARIN_Z17_DATA_DIR");
        folder = QString::fromStdString(platform::FontFolder());
    }
    QString folder;
};

// Every text of a language file (the "value" of each Text element).
QString LanguageFileTexts(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString texts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Text")
            texts += xml.attributes().value(QLatin1String("value"));
    }
    return texts;
}

// The languages' own names, shown in the settings window.
QString LanguageNames() {
    QFile file(QStringLiteral(QUARIN_SOURCE_DATA_DIR "/DefaultData/Language.config"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString names;
    for (const QJsonValue& language : QJsonDocument::fromJson(file.readAll())["Language"].toArray())
        names += language["Language_text"].toString();
    return names;
}

// The characters of `texts` that none of the fonts draws.
QString Uncovered(const QString& texts, const std::vector<std::unique_ptr<QRawFont>>& fonts) {
    QString missing;
    for (const char32_t c : texts.toUcs4()) {
        if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control)
            continue;
        bool covered = false;
        for (const auto& font : fonts)
            covered = covered || font->supportsCharacter(c);
        const QString text = QString::fromUcs4(&c, 1);
        if (!covered && !missing.contains(text))
            missing += text;
    }
    return missing;
}

TEST_F(ShippedFontsTest, TheProgramLoadsEveryShippedFontFromItsFontFolder) {
    for (const QString& name : ShippedFontNames())
        EXPECT_TRUE(QFile::exists(folder + name)) << (folder + name).toStdString();
    platform::PrivateFonts fonts;
    fonts.Load(folder);
    EXPECT_EQ(fonts.LoadedCount(), ShippedFontNames().size());
}

TEST_F(ShippedFontsTest, EveryLanguageFilesTextsAreCoveredByTheShippedFonts) {
    std::vector<std::unique_ptr<QRawFont>> fonts;
    for (const QString& name : ShippedFontNames()) {
        auto font = std::make_unique<QRawFont>(folder + name, 14);
        ASSERT_TRUE(font->isValid()) << name.toStdString();
        fonts.push_back(std::move(font));
    }
    const QDir skin(QStringLiteral(QUARIN_SOURCE_DATA_DIR "/skin"));
    const QStringList files = skin.entryList({QStringLiteral("lan_*.xml")}, QDir::Files);
    ASSERT_GE(files.size(), 16);
    for (const QString& file : files) {
        const QString texts = LanguageFileTexts(skin.filePath(file));
        ASSERT_FALSE(texts.isEmpty()) << file.toStdString();
        EXPECT_EQ(Uncovered(texts, fonts).toStdString(), "") << file.toStdString();
    }
    const QString names = LanguageNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(Uncovered(names, fonts).toStdString(), "") << "Language.config";
}

} // namespace
