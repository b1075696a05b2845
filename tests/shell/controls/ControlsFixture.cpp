#include "ControlsFixture.h"

#include "shell/ControlClasses.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"

#include <QBuffer>
#include <QTest>
#include <QVBoxLayout>

namespace test {

void ControlsFixture::SetUp() {
    env = std::make_unique<ScopedEnvironment>(true); // a copy: tests write skin files
    shell::RegisterProgramControls();
    pm = std::make_unique<ui::CPaintManagerUI>();
    pm->AddNotifier(this);
}

void ControlsFixture::TearDown() {
    host.reset();
    pm.reset();
    env.reset();
}

void ControlsFixture::Build(const QByteArray& xml) {
    env->WriteSkinFile(QStringLiteral("controls.xml"), xml);
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(QStringLiteral("controls.xml"), nullptr, pm.get());
    ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
    host = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(host.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(root->GetWidget());
    pm->AttachRoot(root, host.get());
    host->resize(600, 400);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    log.clear();
}

ui::CControlUI* ControlsFixture::Find(const QString& name) const {
    return pm->FindControl(name);
}

QWidget* ControlsFixture::W(const QString& name) const {
    ui::CControlUI* control = Find(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control ? control->GetWidget() : nullptr;
}

QStringList ControlsFixture::Take() {
    QStringList taken;
    taken.swap(log);
    return taken;
}

void ControlsFixture::WriteImage(const QString& name, QSize size, QColor colour) const {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    env->WriteSkinFile(name, png);
}

QColor ControlsFixture::PixelAt(QWidget* widget, QPoint at) {
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qRound(at.x() * ratio), qRound(at.y() * ratio));
}

void ControlsFixture::Notify(ui::TNotifyUI& msg) {
    log << msg.sType + QLatin1Char(':') + (msg.pSender ? msg.pSender->GetName() : QString());
}

} // namespace test
