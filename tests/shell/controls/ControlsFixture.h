#pragma once
// Builds a skin snippet with the program's controls into a shown window and records the
// notifications its controls send.

#include "support/TestEnvironment.h"
#include "ui/PaintManagerUI.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace test {

class ControlsFixture : public ::testing::Test, public ui::INotifyUI {
public:
    // Writes `xml` as a skin file, builds it under a 600x400 window and shows the window.
    void Build(const QByteArray& xml);
    ui::CControlUI* Find(const QString& name) const;
    template <class T> T* Get(const QString& name) const {
        T* control = dynamic_cast<T*>(Find(name));
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QWidget* W(const QString& name) const;
    // The notifications since the last call, as "type:sender".
    QStringList Take();
    // Writes a PNG of one colour under the skin folder.
    void WriteImage(const QString& name, QSize size, QColor colour) const;
    static QColor PixelAt(QWidget* widget, QPoint at);

    void Notify(ui::TNotifyUI& msg) override;

protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<ScopedEnvironment> env;
    std::unique_ptr<ui::CPaintManagerUI> pm;
    std::unique_ptr<QWidget> host;
    QStringList log;
};

} // namespace test
