// The main of every test program: a QApplication on the offscreen platform, then GoogleTest.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("QUARIN Z17 Keyboard"));
    app.setApplicationName(QStringLiteral("QUARIN Z17 Keyboard"));
    return RUN_ALL_TESTS();
}
