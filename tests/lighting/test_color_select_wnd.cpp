// The colour picker driven by real clicks, keys and palette picks on its controls: swatches
// filled and saved, the edits, the multicolour option and the results of the modal window.

#include "config/ColorOptionFile.h"
#include "lighting/ColorSelectWnd.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ColorPaletteUI.h"
#include "ui/EditUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using lighting::CColorSelectWnd;

// Knows when the window has loaded its swatches.
class PickerUnderTest : public CColorSelectWnd {
public:
    void Notify(ui::TNotifyUI& msg) override {
        CColorSelectWnd::Notify(msg);
        if (msg.sType == ui::notify::windowinit)
            loaded = true;
    }
    bool loaded = false;
};

class ColorSelectWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    }

    std::string UserFile() const {
        return (env.DataHome() + QStringLiteral("/QUARIN Z17 Keyboard/") +
                config::kColorOptionFileName)
            .toStdString();
    }
    void WriteUserFile(const std::string& text) const {
        QDir().mkpath(env.DataHome() + QStringLiteral("/QUARIN Z17 Keyboard"));
        QFile file(QString::fromStdString(UserFile()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
    }
    Json::Value UserDocument() const { return config::ReadJsonFile(UserFile())["coloroptioninfo"]; }

    void Open(std::uint32_t colour) {
        ASSERT_NE(wnd.Create(nullptr, "picker", ui::WS_VISIBLE, 0), nullptr)
            << wnd.GetSkinError().toStdString();
        wnd.ShowColor(colour);
        ASSERT_TRUE(test::WaitUntil([&] { return wnd.loaded; }));
    }
    template <class T = ui::CControlUI> T* Get(const QString& name) {
        T* control = wnd.Find<T>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    void Click(const QString& name) { QTest::mouseClick(Get(name)->GetWidget(), Qt::LeftButton); }
    std::uint32_t Preview() { return Get(QStringLiteral("color_show_btn"))->GetBkColor(); }
    QString Edits() {
        return Get(QStringLiteral("color_edit_r"))->GetText() + QLatin1Char(',') +
               Get(QStringLiteral("color_edit_g"))->GetText() + QLatin1Char(',') +
               Get(QStringLiteral("color_edit_b"))->GetText();
    }

    test::ScopedEnvironment env{true};
    PickerUnderTest wnd;
};

TEST_F(ColorSelectWndTest, OpensOnTheGivenColourWithTheDefaultSwatchesAndWritesNothing) {
    Open(0x00336699u);
    EXPECT_EQ(Preview(), 0xFF336699u);
    EXPECT_EQ(Edits(), "51,102,153");
    EXPECT_EQ(Get<ui::CColorPaletteUI>("Pallet")->GetSelectColor(), 0xFF336699u);
    // The shipped copy: red first, the first preset and the first user swatch selected.
    EXPECT_EQ(Get("color_option_0")->GetBkColor(), 0xFFFF0000u);
    EXPECT_TRUE(Get<ui::COptionUI>("color_option_0")->IsSelected());
    EXPECT_TRUE(Get<ui::COptionUI>("collect_color_option_0")->IsSelected());
    EXPECT_EQ(Get("collect_color_option_19")->GetBkColor(), 0xFF24272Fu); // empty
    EXPECT_EQ(Get("collect_color_option_19")->GetUserData(), "0");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(UserFile())));
}

TEST_F(ColorSelectWndTest, APresetShowsItsComponentsAndFillsTheSelectedUserSwatch) {
    WriteUserFile(R"({ "coloroptioninfo" : {
        "palletDialogcoloroption" : [ {}, {}, { "color" : "ff0000" } ],
        "palletDialogcoloroption_selectitem" : 0,
        "palletDialogcollectcoloroption" : [ {}, { "color" : "FF000000", "UserData" : "0" } ],
        "palletDialogcollectcoloroption_selectitem" : 1 } })");
    Open(0x00000000u);
    Click("color_option_2");
    EXPECT_EQ(Edits(), "255,0,0");
    EXPECT_EQ(Preview(), 0xFFFF0000u);
    auto* swatch = Get<ui::COptionUI>("collect_color_option_1");
    EXPECT_EQ(swatch->GetBkColor(), 0xFFFF0000u);
    EXPECT_EQ(swatch->GetSelectedBkColor(), 0xFFFF0000u);
    EXPECT_EQ(swatch->GetUserData(), "1");
    EXPECT_EQ(swatch->GetBorderSize(), 0);

    const Json::Value info = UserDocument();
    EXPECT_EQ(info["palletDialogcoloroption_selectitem"], 2);
    EXPECT_EQ(info["palletDialogcoloroption"][2]["color"], "FFFF0000");
    EXPECT_EQ(info["palletDialogcollectcoloroption_selectitem"], 1);
    EXPECT_EQ(info["palletDialogcollectcoloroption"][1]["color"], "FFFF0000");
    EXPECT_EQ(info["palletDialogcollectcoloroption"][1]["UserData"], "1");
    // A user swatch without a colour in the file is an empty (white) one.
    EXPECT_EQ(info["palletDialogcollectcoloroption"][0]["color"], "FFFFFFFF");

    // The selected preset again, to fill another user swatch with the same colour.
    Click("collect_color_option_5");
    Click("color_option_2");
    EXPECT_EQ(Get("collect_color_option_5")->GetBkColor(), 0xFFFF0000u);
    EXPECT_EQ(UserDocument()["palletDialogcollectcoloroption"][5]["UserData"], "1");
}

TEST_F(ColorSelectWndTest, AFilledUserSwatchIsChosenAndAnEmptyOneOnlyTakesTheSelection) {
    WriteUserFile(R"({ "coloroptioninfo" : {
        "palletDialogcollectcoloroption" : [ { "color" : "FF00FF00", "UserData" : "1" },
                                             { "color" : "FF0000FF", "UserData" : "0" } ],
        "palletDialogcollectcoloroption_selectitem" : 4 } })");
    Open(0x00102030u);
    Click("collect_color_option_1");
    EXPECT_EQ(Preview(), 0xFF102030u);
    EXPECT_EQ(Edits(), "16,32,48");
    EXPECT_EQ(UserDocument()["palletDialogcollectcoloroption_selectitem"], 4); // nothing written

    Click("collect_color_option_0");
    EXPECT_EQ(Preview(), 0xFF00FF00u);
    EXPECT_EQ(Edits(), "0,255,0");
    EXPECT_EQ(Get<ui::CColorPaletteUI>("Pallet")->GetSelectColor(), 0xFF00FF00u);
    EXPECT_EQ(UserDocument()["palletDialogcollectcoloroption_selectitem"], 0);
}

TEST_F(ColorSelectWndTest, AnEditedValueBecomesTheColourWhenTheEditLosesFocus) {
    Open(0x00000000u);
    Click("collect_color_option_3");
    wnd.GetHWND()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.GetHWND()));
    auto* green = Get<ui::CEditUI>("color_edit_g");
    green->setFocus();
    green->selectAll();
    QTest::keyClicks(green, "128");
    EXPECT_EQ(Preview(), 0xFF000000u); // nothing until the edit is left
    Get<ui::CEditUI>("color_edit_b")->setFocus();
    EXPECT_EQ(Preview(), 0xFF008000u);
    EXPECT_EQ(Get<ui::CColorPaletteUI>("Pallet")->GetSelectColor(), 0xFF008000u);
    EXPECT_EQ(Get("collect_color_option_3")->GetBkColor(), 0xFF008000u);
    EXPECT_EQ(UserDocument()["palletDialogcollectcoloroption"][3]["color"], "FF008000");

    // Enter takes the value too; an emptied edit counts as 0.
    auto* blue = Get<ui::CEditUI>("color_edit_b");
    blue->selectAll();
    QTest::keyClicks(blue, "255");
    QTest::keyClick(blue, Qt::Key_Return);
    EXPECT_EQ(Preview(), 0xFF0080FFu);
    green->setFocus();
    green->selectAll();
    QTest::keyClick(green, Qt::Key_Backspace);
    QTest::keyClick(green, Qt::Key_Return);
    EXPECT_EQ(Preview(), 0xFF0000FFu);
}

TEST_F(ColorSelectWndTest, APalettePickShowsInTheEditsAndTheUserSwatch) {
    Open(0x00808080u); // grey: a pick in the hue field keeps its brightness

    Click("collect_color_option_2");
    auto* palette = Get<ui::CColorPaletteUI>("Pallet");
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(2, 2));
    const std::uint32_t picked = palette->GetSelectColor();
    ASSERT_NE(picked, 0xFF808080u);
    EXPECT_EQ(Preview(), picked);
    EXPECT_EQ(Edits(), QStringLiteral("%1,%2,%3")
                           .arg(picked >> 16 & 0xFF)
                           .arg(picked >> 8 & 0xFF)
                           .arg(picked & 0xFF));
    EXPECT_EQ(Get("collect_color_option_2")->GetBkColor(), picked);
}

TEST_F(ColorSelectWndTest, TheMulticolourOptionShowsItsImageUntilAColourIsChosen) {
    Open(0x00000000u);
    Click("7color");
    EXPECT_TRUE(wnd.IsMultiColor());
    EXPECT_EQ(Get("color_show_btn")->GetBkImage(), "common/base1.png");
    Click("color_option_4");
    EXPECT_FALSE(wnd.IsMultiColor());
    EXPECT_FALSE(Get<ui::COptionUI>("7color")->IsSelected());
    EXPECT_EQ(Get("color_show_btn")->GetBkImage(), "");

    Click("7color");
    ASSERT_TRUE(wnd.IsMultiColor());
    wnd.HideMultiColorOption();
    EXPECT_FALSE(wnd.IsMultiColor());
    EXPECT_FALSE(Get("7color_layout")->IsVisible());
    EXPECT_FALSE(Get("7color")->IsEnabled());
    EXPECT_FALSE(Get<ui::COptionUI>("7color")->IsSelected());
}

// The modal window through its entry point.
class ColorSelectResultTest : public ColorSelectWndTest {
protected:
    // Once the window has loaded, runs `act` on it.
    static void WhenOpen(const std::function<void(QWidget*)>& act) {
        QTimer::singleShot(0, [act] {
            // The window loads its swatches on its first turn of the loop: act after that.
            QTimer::singleShot(0, [act] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (w->objectName() == QLatin1String("ColorSelectWnd") && w->isVisible())
                        return act(w);
                }
                ADD_FAILURE() << "no colour picker";
            });
        });
    }
    static void ClickIn(QWidget* w, const char* name) {
        QTest::mouseClick(w->findChild<QPushButton*>(name), Qt::LeftButton);
    }
};

TEST_F(ColorSelectResultTest, OkGivesThePreviewsColourAndCloseGivesNothing) {
    WhenOpen([](QWidget* w) {
        ClickIn(w, "color_option_6"); // green in the shipped copy
        ClickIn(w, "okbtn");
    });
    lighting::ColorChoice choice = lighting::OpenColorSelectWindow(nullptr, 0x123456u);
    EXPECT_EQ(choice.result, 1);
    EXPECT_EQ(choice.color, 0x0000FF00u);
    EXPECT_FALSE(choice.multiColor);

    WhenOpen([](QWidget* w) { ClickIn(w, "okbtn"); });
    choice = lighting::OpenColorSelectWindow(nullptr, 0x123456u);
    EXPECT_EQ(choice.result, 1);
    EXPECT_EQ(choice.color, 0x00123456u);

    WhenOpen([](QWidget* w) {
        ClickIn(w, "color_option_6");
        ClickIn(w, "closebtn");
    });
    choice = lighting::OpenColorSelectWindow(nullptr, 0x123456u);
    EXPECT_EQ(choice.result, 0);
    EXPECT_EQ(choice.color, 0u);
}

TEST_F(ColorSelectResultTest, OkTakesAValueStillBeingTypedAndEscapeOrTheWindowManagerCloses) {
    WhenOpen([](QWidget* w) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        auto* red = w->findChild<QLineEdit*>("color_edit_r");
        red->setFocus();
        red->selectAll();
        QTest::keyClicks(red, "200");
        ClickIn(w, "okbtn"); // buttons take no focus from a click: the edit keeps it
    });
    lighting::ColorChoice choice = lighting::OpenColorSelectWindow(nullptr, 0x000010u);
    EXPECT_EQ(choice.result, 1);
    EXPECT_EQ(choice.color, 0x00C80010u);

    WhenOpen([](QWidget* w) {
        // The picker deletes itself once it has ended, possibly while the wait runs.
        QPointer<QWidget> alive = w;
        QTest::keyClick(w, Qt::Key_Escape);
        if (!QTest::qWaitFor([&] { return !alive || !alive->isVisible(); })) {
            ADD_FAILURE() << "Escape left the picker open";
            alive->close();
        }
    });
    EXPECT_EQ(lighting::OpenColorSelectWindow(nullptr, 0x000010u).result, 0);
    WhenOpen([](QWidget* w) { w->close(); });
    EXPECT_EQ(lighting::OpenColorSelectWindow(nullptr, 0x000010u).result, 0);
}

TEST_F(ColorSelectResultTest, OkReportsTheMulticolourChoiceUnlessTheOptionIsHidden) {
    WhenOpen([](QWidget* w) {
        ClickIn(w, "7color");
        ClickIn(w, "okbtn");
    });
    EXPECT_TRUE(lighting::OpenColorSelectWindow(nullptr, 0xFF0000u).multiColor);

    bool shown = true;
    WhenOpen([&shown](QWidget* w) {
        shown = w->findChild<QWidget*>("7color_layout")->isVisible();
        ClickIn(w, "7color");
        ClickIn(w, "okbtn");
    });
    const lighting::ColorChoice choice = lighting::OpenColorSelectWindow(nullptr, 0xFF0000u, true);
    EXPECT_FALSE(shown);
    EXPECT_EQ(choice.result, 1);
    EXPECT_FALSE(choice.multiColor);
    EXPECT_EQ(choice.color, 0x00FF0000u);
}

TEST_F(ColorSelectResultTest, OkWithoutAPaletteInTheSkinEndsWithTwo) {
    QFile skin(env.SkinFolder() + QStringLiteral("PalletDialog.xml"));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    QByteArray xml = skin.readAll();
    skin.close();
    xml.replace("<ColorPalette name=\"Pallet\" height=\"300\" barheight=\"16\"/>", "");
    ASSERT_FALSE(xml.contains("ColorPalette"));
    env.WriteSkinFile(QStringLiteral("PalletDialog.xml"), xml);
    WhenOpen([](QWidget* w) { ClickIn(w, "okbtn"); });
    EXPECT_EQ(lighting::OpenColorSelectWindow(nullptr, 0xFF0000u).result, 2);
}

} // namespace
