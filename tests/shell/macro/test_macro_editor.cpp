// The macro editor on the keyboard page, driven through its controls and menu as the user
// drives it, over the virtual keyboard: the library and its files, the event rows, recording
// through the program's capture, and what deleting a macro does to the keys that name it.

#include "../keyset/KeySetFixture.h"
#include "config/JsonFile.h"
#include "shell/Messages.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/MacroNames.h"
#include "shell/macro/MacroControlUI.h"
#include "shell/macro/MacroEventRow.h"
#include "shell/macro/MacroRoutes.h"
#include "support/DenyOpening.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/MenuWnd.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <linux/input-event-codes.h>

namespace {

using shell::macro::CMacroControlUI;
using shell::macro::CMacroRoutes;

constexpr int kKeyA = 64;
constexpr int kKeyB = 89;

class MacroEditorTest : public keysettest::KeySetTest {
protected:
    void Attach() {
        KeySetTest::Attach();
        shell::ProfileDialogs dialogs;
        dialogs.message = [this](const QString& id, int) {
            asked << id;
            return answers.isEmpty() ? 1 : answers.takeFirst();
        };
        dialogs.openFile = [this] { return openPath; };
        dialogs.saveFile = [this](const QString&) { return savePath; };
        macroRoutes = std::make_unique<CMacroRoutes>(
            *window, routes->Hook(), [this] { return keyboard.get(); }, dialogs,
            [this](devices::CKelvaneUSBDevice& device) {
                panel->FillMacroNames(shell::keyset::ReadMacroNames(device.UserDataFolder()));
            });
        window->moreNotify = [this](ui::TNotifyUI& msg) { return macroRoutes->Notify(msg); };
        window->moreMessages = [this](ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
            if (msg == ui::WM_MENUCLICK)
                return macroRoutes->OnMenuClick(
                    reinterpret_cast<const ui::MenuCmd*>(wParam)->szName);
            return macroRoutes->HandleMessage(msg, wParam, lParam);
        };
        macroRoutes->AttachPage(*keyboard, Get(QStringLiteral("keyboard_device_page")));
        editor = macroRoutes->PanelOf(keyboard.get());
        ASSERT_NE(editor, nullptr);
        editor->SetClock([this] { return now; });
        keyboard->SetFunctionPage(3);
    }
    void TearDown() override {
        macroRoutes.reset();
        KeySetTest::TearDown();
    }
    std::string Folder() const { return keyboard->UserDataFolder(); }
    // Writes a ".mac" for library entry `guid` with these events.
    void WriteEvents(const QString& guid, const QString& eventsJson) {
        QFile file(QString::fromStdString(Folder()) + guid + QStringLiteral(".mac"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"MacroName":"m","Guid":"%1","Events":[%2],"Version":64})")
                       .arg(guid, eventsJson)
                       .toUtf8());
    }
    Json::Value SavedMacro(int index) const {
        const std::string guid = editor->Library().Macros().at(index).guid;
        return config::ReadJsonFile(Folder() + guid + ".mac");
    }
    void SelectMacro(int index) {
        auto* list = Get<ui::CListUI>(QStringLiteral("macro_name_list"));
        ASSERT_TRUE(list->SelectItem(index)); // sends "itemselect" as a click does
    }
    void ClickMenu(const char* name) {
        ui::CMenuWnd menu;
        ASSERT_TRUE(menu.Build(window.get(), QStringLiteral("XML/Menus/macro_action_menu.xml")));
        auto* action = menu.GetMenu()->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    void SetEdit(const char* name, const QString& text) {
        auto* edit = Get<ui::CEditUI>(QLatin1String(name));
        ASSERT_NE(edit, nullptr);
        edit->SetText(text);
    }
    // Type, action and button of every row, as the rows' stored events say.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const config::MacroEvent& e : editor->Events().events)
            rows.push_back(std::to_string(e.type) + (e.down ? "d" : "u") +
                           std::to_string(e.button) + "/" + std::to_string(e.delay));
        return rows;
    }
    bool Enabled(const char* name) { return Get(QLatin1String(name))->IsEnabled(); }

    std::unique_ptr<CMacroRoutes> macroRoutes;
    CMacroControlUI* editor = nullptr;
    QStringList asked;
    QList<int> answers;
    QString openPath;
    QString savePath;
    ::macro::Milliseconds now = 1000;
};

TEST_F(MacroEditorTest, TheMenuHoldsEveryActionAndItsMouseActionsGoAfterTheSelectedRow) {
    Attach();
    ui::CMenuWnd menu;
    ASSERT_TRUE(menu.Build(window.get(), QStringLiteral("XML/Menus/macro_action_menu.xml")));
    QStringList names;
    for (QAction* action : menu.GetMenu()->findChildren<QAction*>())
        if (!action->objectName().isEmpty())
            names << action->objectName();
    for (const char* item : {"left_down",
                             "left_up",
                             "left_click",
                             "middle_down",
                             "middle_up",
                             "middle_click",
                             "right_down",
                             "right_up",
                             "right_click",
                             "forward_down",
                             "forward_up",
                             "forward_click",
                             "back_down",
                             "back_up",
                             "back_click",
                             "redio_previous_record_time",
                             "redio_previous_constant_time",
                             "redio_previous_ignore_time",
                             "redio_later_record_time",
                             "redio_later_constant_time",
                             "redio_later_ignore_time",
                             "macro_action_edit"})
        EXPECT_TRUE(names.contains(QLatin1String(item))) << item;

    Click(QStringLiteral("macro_btn_name_add"));
    ClickMenu("left_click");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1d1/0", "1u1/0"}));
    EXPECT_EQ(editor->GetSelectedRow(), 1);
    editor->SelectRow(0);
    ClickMenu("forward_down");
    ClickMenu("back_up");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1d1/0", "1d16/0", "1u8/0", "1u1/0"}));
    EXPECT_EQ(editor->GetSelectedRow(), 2);
    // Moves keep the low 8 bits of the distance typed.
    SetEdit("mouse_x_left_edit", QStringLiteral("300"));
    Click(QStringLiteral("macro_inset_moveleftkey_btn"));
    SetEdit("mouse_y_down_edit", QStringLiteral("7"));
    Click(QStringLiteral("macro_inset_movedownkey_btn"));
    EXPECT_EQ(Rows()[3], "4d44/0");
    EXPECT_EQ(Rows()[4], "5u7/0");
    // Each change is saved at once.
    const Json::Value saved = SavedMacro(0);
    ASSERT_EQ(saved["Events"].size(), 6u);
    EXPECT_EQ(saved["Events"][3]["Type"].asInt(), 4);
    EXPECT_EQ(saved["Events"][3]["Button"].asInt(), 44);
    EXPECT_EQ(saved["Events"][3]["Action"].asString(), "down");
    EXPECT_EQ(saved["Version"].asInt(), 64);
}

TEST_F(MacroEditorTest, RowsMoveOnlyWhereTheyCanAndEveryMoveIsSaved) {
    WriteMacroLibrary({QStringLiteral("five")});
    WriteEvents(QStringLiteral("g0"), QStringLiteral(
                                          R"({"Type":10,"Action":"down","Button":4,"Delay":"1"},
           {"Type":10,"Action":"down","Button":5,"Delay":"2"},
           {"Type":10,"Action":"down","Button":6,"Delay":"3"},
           {"Type":10,"Action":"down","Button":7,"Delay":"4"},
           {"Type":10,"Action":"down","Button":8,"Delay":"5"})"));
    Attach();
    SelectMacro(0);
    ASSERT_EQ(Rows().size(), 5u);
    editor->SelectRow(2);
    Click(QStringLiteral("macro_btn_uptop"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"10d6/3", "10d4/1", "10d5/2", "10d7/4", "10d8/5"}));
    EXPECT_EQ(editor->GetSelectedRow(), 0);
    EXPECT_EQ(SavedMacro(0)["Events"][0]["Button"].asInt(), 6);

    // The first row cannot go up; the macro is saved all the same.
    QFile::remove(QString::fromStdString(Folder()) + QStringLiteral("g0.mac"));
    Click(QStringLiteral("macro_btn_up"));
    EXPECT_EQ(Rows()[0], "10d6/3");
    EXPECT_EQ(SavedMacro(0)["Events"].size(), 5u);

    editor->SelectRow(4);
    Click(QStringLiteral("macro_btn_downbottom"));
    EXPECT_EQ(Rows()[4], "10d8/5");
    Click(QStringLiteral("macro_btn_up"));
    EXPECT_EQ(Rows()[3], "10d8/5");
    EXPECT_EQ(editor->GetSelectedRow(), 3);
    Click(QStringLiteral("macro_btn_delete"));
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(editor->GetSelectedRow(), -1);
    Click(QStringLiteral("macro_btn_delete")); // nothing selected: nothing removed
    EXPECT_EQ(Rows().size(), 4u);

    // With no row left the file has no "Events" at all, and reads back empty.
    Click(QStringLiteral("macro_btn_deleteall"));
    const Json::Value saved = SavedMacro(0);
    EXPECT_FALSE(saved.isMember("Events"));
    EXPECT_EQ(saved["Guid"].asString(), "g0");
    EXPECT_EQ(saved["MacroName"].asString(), "five");
    SelectMacro(-1);
    SelectMacro(0);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(MacroEditorTest, DelaysComeFromTheEditsAndUndoDropsWhatWasNotSaved) {
    WriteMacroLibrary({QStringLiteral("slow")});
    WriteEvents(QStringLiteral("g0"), QStringLiteral(
                                          R"({"Type":10,"Action":"down","Button":4,"Delay":"70000"},
           {"Type":10,"Action":"up","Button":4,"Delay":12})"));
    Attach();
    SelectMacro(0);
    auto* rows = Get<ui::CListUI>(QStringLiteral("macro_action_list"));
    ui::CEditUI* first = shell::macro::DelayEditOfRow(rows->GetItemAt(0));
    ui::CEditUI* second = shell::macro::DelayEditOfRow(rows->GetItemAt(1));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetText(), QStringLiteral("65535"));
    EXPECT_EQ(second->GetText(), QStringLiteral("12"));

    second->SetText(QString());
    Click(QStringLiteral("macro_btn_save"));
    EXPECT_EQ(second->GetText(), QStringLiteral("0"));
    EXPECT_EQ(SavedMacro(0)["Events"][1]["Delay"], Json::Value("0"));
    EXPECT_EQ(SavedMacro(0)["Events"][0]["Delay"], Json::Value("65535"));

    second->SetText(QStringLiteral("250"));
    Click(QStringLiteral("macro_btn_cancel"));
    EXPECT_EQ(shell::macro::DelayEditOfRow(rows->GetItemAt(1))->GetText(), QStringLiteral("0"));
}

TEST_F(MacroEditorTest, TheLibraryNamesMacrosAndTheKeyPanelFollowsIt) {
    WriteMacroLibrary({QStringLiteral("macro_1"), QStringLiteral("MACRO_3")});
    Attach();
    for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                             "macro_btn_name_sub", "macro_btn_name_edit"})
        EXPECT_FALSE(Enabled(name)) << name << " before a macro is chosen";
    Click(QStringLiteral("macro_btn_name_add"));
    ASSERT_EQ(editor->Library().Macros().size(), 3u);
    EXPECT_EQ(editor->Library().Macros()[2].name, "macro_2");
    EXPECT_EQ(editor->GetSelectedMacroIndex(), 2);
    EXPECT_TRUE(Enabled("macro_action_layout"));
    auto* combo = Get<ui::CComboUI>(QStringLiteral("keyset_macro_combo"));
    ASSERT_EQ(combo->GetCount(), 3);
    EXPECT_EQ(combo->GetItemAt(2)->GetText(), QStringLiteral("macro_2"));

    // A name in use, in any case, is refused with a message; a new one is taken everywhere.
    SetEdit("macro_edit_macroname", QStringLiteral("Macro_1"));
    Click(QStringLiteral("macro_btn_name_edit"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("message_text_5")});
    EXPECT_EQ(editor->Library().Macros()[2].name, "macro_2");
    SetEdit("macro_edit_macroname", QStringLiteral("  "));
    Click(QStringLiteral("macro_btn_name_edit"));
    EXPECT_EQ(asked.size(), 1) << "an empty name is refused silently";
    SetEdit("macro_edit_macroname", QStringLiteral("Jump"));
    Click(QStringLiteral("macro_btn_name_edit"));
    EXPECT_EQ(Get<ui::CListUI>(QStringLiteral("macro_name_list"))->GetItemAt(2)->GetText(),
              QStringLiteral("Jump"));
    EXPECT_EQ(Get(QStringLiteral("macro_edit_macroname"))->GetText(), QString());
    EXPECT_EQ(combo->GetItemAt(2)->GetText(), QStringLiteral("Jump"));

    // Export and import copy the file byte for byte; the copy gets a name of its own.
    ClickMenu("right_click");
    savePath = QString::fromStdString(Folder()) + QStringLiteral("out.mac");
    Click(QStringLiteral("macro_btn_export"));
    QFile exported(savePath);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray bytes = exported.readAll();
    openPath = savePath;
    Click(QStringLiteral("macro_btn_import"));
    ASSERT_EQ(editor->Library().Macros().size(), 4u);
    EXPECT_EQ(editor->Library().Macros()[3].name, "macro_2") << "the renamed one freed it";
    QFile imported(QString::fromStdString(Folder() + editor->Library().Macros()[3].guid + ".mac"));
    ASSERT_TRUE(imported.open(QIODevice::ReadOnly));
    EXPECT_EQ(imported.readAll(), bytes);
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(MacroEditorTest, DeletingAMacroAsksTwiceForAnAssignedOneAndMovesTheKeysUp) {
    WriteMacroLibrary({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Attach();
    devices::KeyRecord a = keyboard->GetKeyRecord(kKeyA);
    a.code = devices::MacroCode(2, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(kKeyA, a));
    devices::KeyRecord b = keyboard->GetKeyRecord(kKeyB);
    const devices::KeyCode bDefault = b.defaultCode;
    b.code = devices::MacroCode(0, 1);
    ASSERT_TRUE(keyboard->SetKeyRecord(kKeyB, b));

    // Cancel at either question leaves everything as it was.
    SelectMacro(0);
    answers = {0};
    Click(QStringLiteral("macro_btn_name_sub"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("message_text_4")});
    answers = {1, 0};
    asked.clear();
    Click(QStringLiteral("macro_btn_name_sub"));
    EXPECT_EQ(asked,
              (QStringList{QStringLiteral("message_text_4"), QStringLiteral("message_text_2")}));
    EXPECT_EQ(editor->Library().Macros().size(), 3u);
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyA).code, devices::MacroCode(2, 0));

    // An index that cannot be read is never rewritten: the macro stays and so do the keys.
    {
        config::ScopedFileCalls denied(test::DenyOpening("macro.config"));
        answers = {1, 1};
        Click(QStringLiteral("macro_btn_name_sub"));
    }
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyA).code, devices::MacroCode(2, 0));
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyB).code, devices::MacroCode(0, 1));

    answers = {1, 1};
    board->ClearWireLog();
    SelectMacro(0);
    Click(QStringLiteral("macro_btn_name_sub"));
    ASSERT_EQ(editor->Library().Macros().size(), 2u);
    EXPECT_EQ(editor->Library().Macros()[0].name, "b");
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyA).code, devices::MacroCode(1, 0));
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyB).code, bDefault);
    EXPECT_EQ(DeviceCodeOfKey(kKeyB), bDefault) << "the key list went to the keyboard";
    EXPECT_EQ(DeviceCodeOfKey(kKeyA).type, devices::kKeyTypeMacro);
    // The profile keeps the moved assignments.
    keyboard->ReloadProfile();
    EXPECT_EQ(keyboard->GetKeyRecord(kKeyA).code, devices::MacroCode(1, 0));
    EXPECT_EQ(Get<ui::CComboUI>(QStringLiteral("keyset_macro_combo"))->GetCount(), 2);

    // A macro no key names is deleted after one question; the last one off turns the
    // editor off.
    answers = {1};
    asked.clear();
    SelectMacro(0);
    Click(QStringLiteral("macro_btn_name_sub"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("message_text_4")});
    answers = {1, 1};
    SelectMacro(0);
    Click(QStringLiteral("macro_btn_name_sub"));
    EXPECT_TRUE(editor->Library().Macros().empty());
    for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                             "macro_btn_name_sub", "macro_btn_name_edit"})
        EXPECT_FALSE(Enabled(name)) << name;
}

TEST_F(MacroEditorTest, RecordingTakesTheKeysThroughTheCaptureAndNotTheStopClick) {
    Attach();
    Click(QStringLiteral("macro_btn_name_add"));
    Click(QStringLiteral("macro_btn_starredio"));
    ASSERT_TRUE(editor->IsRecording());
    EXPECT_FALSE(Get(QStringLiteral("macro_btn_starredio"))->IsVisible());
    EXPECT_TRUE(Get(QStringLiteral("macro_btn_stopredio"))->IsVisible());
    EXPECT_FALSE(Get(QStringLiteral("macro_tab_macroaction_edit"))->IsEnabled());
    EXPECT_FALSE(Get(QStringLiteral("macro_name_tab"))->IsMouseEnabled());

    SendKey(KEY_LEFTSHIFT, true);
    now += 30;
    SendKey(KEY_A, true, Qt::ShiftModifier);
    now += 120;
    SendKey(KEY_A, false, Qt::ShiftModifier);
    // The key assignment's capture switch leaves a recording alone.
    window->SendMessage(shell::UM_HOOK_SWITCH, 0, 0);
    now += 70000;
    SendKey(KEY_LEFTSHIFT, false);
    Click(QStringLiteral("macro_btn_stopredio"));

    EXPECT_FALSE(editor->IsRecording());
    EXPECT_TRUE(Get(QStringLiteral("macro_btn_starredio"))->IsVisible());
    EXPECT_FALSE(routes->Hook().IsCapturingKeys());
    EXPECT_EQ(Rows(), (std::vector<std::string>{"9d2/30", "10d4/120", "10u4/65535", "9u2/0"}));
    const Json::Value saved = SavedMacro(0);
    ASSERT_EQ(saved["Events"].size(), 4u);
    EXPECT_EQ(saved["Events"][2]["Delay"], Json::Value("65535"));

    // Recording after the selected row with the constant delay, which is capped.
    editor->SelectRow(0);
    SetEdit("macro_fixed_time_edit", QStringLiteral("70000"));
    ClickMenu("redio_later_constant_time");
    ASSERT_TRUE(editor->IsRecording());
    EXPECT_EQ(Get(QStringLiteral("macro_fixed_time_edit"))->GetText(), QStringLiteral("65535"));
    SendKey(KEY_B, true);
    Click(QStringLiteral("macro_btn_stopredio"));
    EXPECT_EQ(Rows()[0], "9d2/65535");
    EXPECT_EQ(Rows()[1], "10d5/65535");
    // Menu actions take the last constant delay read.
    ClickMenu("middle_down");
    EXPECT_EQ(Rows()[2], "1d4/65535");
}

TEST_F(MacroEditorTest, AKeyHeldUntilItRepeatsIsRecordedAsOnePressAndOneRelease) {
    Attach();
    Click(QStringLiteral("macro_btn_name_add"));
    ClickMenu("left_click");
    Click(QStringLiteral("macro_btn_starredio"));
    SendKey(KEY_A, true);
    for (int i = 0; i < 3; ++i) {
        SendKey(KEY_A, false, Qt::NoModifier, true);
        SendKey(KEY_A, true, Qt::NoModifier, true);
    }
    SendKey(KEY_A, false);
    // Holding the left button: its state comes once.
    const QPoint inList = Get(QStringLiteral("macro_action_list"))->GetWidget()->rect().center();
    QWidget* list = Get(QStringLiteral("macro_action_list"))->GetWidget();
    QTest::mousePress(list, Qt::LeftButton, {}, inList);
    QMouseEvent again(QEvent::MouseButtonPress, QPointF(inList), list->mapToGlobal(QPointF(inList)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &again);
    QTest::mouseRelease(list, Qt::LeftButton, {}, inList);
    Click(QStringLiteral("macro_btn_stopredio"));
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"1d1/0", "1u1/0", "10d4/0", "10u4/0", "1d1/0", "1u1/0"}));
}

TEST_F(MacroEditorTest, ADoubleClickedEventIsReplacedByTheNextCapturedKey) {
    WriteMacroLibrary({QStringLiteral("one")});
    WriteEvents(QStringLiteral("g0"),
                QStringLiteral(R"({"Type":10,"Action":"up","Button":4,"Delay":"80"})"));
    Attach();
    SelectMacro(0);
    auto* rows = Get<ui::CListUI>(QStringLiteral("macro_action_list"));
    QTest::mouseDClick(rows->GetItemAt(0)->GetWidget(), Qt::LeftButton);
    ASSERT_TRUE(editor->IsRecording());
    SendKey(KEY_RIGHTCTRL, true);
    SendKey(KEY_RIGHTCTRL, false);
    Click(QStringLiteral("macro_btn_stopredio"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"9u16/80"}));
    EXPECT_EQ(SavedMacro(0)["Events"][0]["Type"].asInt(), 9);
}

} // namespace
