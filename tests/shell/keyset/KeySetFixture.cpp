#include "KeySetFixture.h"

#include "devices/DeviceModels.h"
#include "shell/ControlClasses.h"
#include "shell/PanelTags.h"
#include "sim/VirtualProducts.h"
#include "ui/ComboUI.h"
#include "ui/ResourceManager.h"

#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

namespace keysettest {

ui::CControlUI* KeySetWindow::CreateControl(const QString& tag) {
    return shell::CreatePanelForTag(tag, &m_pm);
}

void KeySetWindow::Notify(ui::TNotifyUI& msg) {
    if (routes && routes->Notify(msg))
        return;
    if (moreNotify && moreNotify(msg))
        return;
    WindowImplBase::Notify(msg);
}

ui::LRESULT KeySetWindow::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                              bool& handled) {
    handled = (routes && routes->HandleMessage(msg, wParam, lParam)) ||
              (moreMessages && moreMessages(msg, wParam, lParam));
    return 0;
}

void KeySetTest::SetUp() {
    env = std::make_unique<test::ScopedEnvironment>(true);
    shell::RegisterProgramControls();
    ui::CResourceManager::GetInstance().LoadLanguage(QStringLiteral("lan_en.xml"));
    env->WriteSkinFile(QStringLiteral("keyset_window.xml"),
                       R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="1000,560">
  <VerticalLayout name="root" bkcolor="#FF15171C">
    <Include source="XML/DeviceXml/keyboarddevice.xml"/>
    <Edit name="other_edit" height="24"/>
    <Label name="text_test" resourcetext="true" visible="false"/>
    <Label name="str_test" resourcetext="true" visible="false"/>
  </VerticalLayout>
</Window>)");

    board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    board->SetReplyDelay(std::chrono::microseconds(0));
    ASSERT_TRUE(backend.Plug(board));
    auto device = devices::CreateDeviceForModel(1, &backend);
    keyboard.reset(static_cast<devices::CKelvaneKeyboardDevice*>(device.release()));
    keyboard->SetCurrentProfileId("2024_01_02_03_04_05_006");
    transport::CDeviceComm& comm = keyboard->CommandChannel();
    ASSERT_EQ(comm.CableChannel().Open(board->CommandPath(), true, true, true, false), 1);
    comm.SelectMode(transport::CDeviceComm::kModeCable);
    comm.open = true;
}

void KeySetTest::TearDown() {
    routes.reset();
    window.reset();
    keyboard.reset();
    env.reset();
}

void KeySetTest::WriteMacroLibrary(const QStringList& names) {
    QString text = QStringLiteral("{\"MacroInfo\":[");
    for (int i = 0; i < names.size(); ++i)
        text += QStringLiteral("%1{\"MacroName\":\"%2\",\"Guid\":\"g%3\"}")
                    .arg(i ? QStringLiteral(",") : QString(), names[i])
                    .arg(i);
    const QString folder = QString::fromStdString(keyboard->UserDataFolder());
    QFile file(folder + QStringLiteral("macro.config"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((text + QStringLiteral("]}")).toUtf8());
}

void KeySetTest::Attach() {
    window = std::make_unique<KeySetWindow>();
    ASSERT_NE(window->Create(nullptr, QStringLiteral("keyset"), ui::WS_POPUP | ui::WS_VISIBLE, 0),
              nullptr)
        << window->GetSkinError().toStdString();
    window->ShowWindow(true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->GetHWND()));
    ui::CControlUI* page = Get(QStringLiteral("keyboard_device_page"));
    ASSERT_NE(page, nullptr);
    keyboard->BindPanelControls(shell::CollectPanelButtons(page));
    devicePanel = std::make_unique<shell::SkinDevicePanel>(window->GetPaintManager(), page);
    keyboard->SetPanel(devicePanel.get());
    routes =
        std::make_unique<shell::keyset::CKeySetRoutes>(*window, [this] { return keyboard.get(); });
    window->routes = routes.get();
    routes->AttachPage(*keyboard, page);
    panel = routes->PanelOf(keyboard.get());
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    board->ClearWireLog();
}

void KeySetTest::Click(const QString& name) {
    ui::CControlUI* control = Get(name);
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->GetWidget()->isVisible()) << name.toStdString();
    QTest::mouseClick(control->GetWidget(), Qt::LeftButton);
}

void KeySetTest::Choose(const QString& combo, int index) {
    auto* control = Get<ui::CComboUI>(combo);
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->SelectItem(index));
}

void KeySetTest::SelectKeyOnPage(int key) {
    keyboard->SetFunctionPage(2);
    Click(QStringLiteral("key_%1").arg(key));
}

void KeySetTest::SendKey(int linuxCode, bool press, Qt::KeyboardModifiers modifiers,
                         bool autoRepeat) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, modifiers,
                    static_cast<quint32>(linuxCode + 8), 0, 0, QString(), autoRepeat);
    QWindow* native = window->GetHWND()->windowHandle();
    ASSERT_NE(native, nullptr);
    QCoreApplication::sendEvent(native, &event);
}

devices::KeyCode KeySetTest::DeviceCodeOfKey(int key) const {
    const int k = keyboard->Maps().keys[static_cast<std::size_t>(key)];
    const std::vector<std::uint8_t> table = board->KeyTable();
    const auto at = static_cast<std::size_t>(3 * k);
    return {table[at], table[at + 1], table[at + 2]};
}

} // namespace keysettest
