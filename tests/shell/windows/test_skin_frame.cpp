// The skin drop-down driven by clicks: where it opens, its pages, each choice handed to the
// notifier's receivers and (for the image list and the default) stored in main.ini, the file
// choice and its cancellation, and the frame ending when it loses the focus.

#include "shell/windows/SkinFrame.h"
#include "shell/windows/SkinImageStore.h"
#include "shell/windows/SkinNotifier.h"
#include "support/TestEnvironment.h"
#include "ui/ContainerUI.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

using shell::CSkinFrame;
using shell::SkinChangedParam;

// Stands in for the main window: a title bar with "skinbtn" at its right end.
class OwnerWnd : public ui::WindowImplBase {
public:
    QString GetWindowClassName() const override { return QStringLiteral("OwnerWnd"); }

protected:
    QString GetSkinFile() override { return QStringLiteral("owner_test.xml"); }
};

class Receiver : public shell::SkinChangedReceiver {
public:
    int OnSkinChanged(SkinChangedParam param) override {
        seen.push_back(param);
        return 1;
    }
    std::vector<SkinChangedParam> seen;
};

class SkinFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.WriteSkinFile("owner_test.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="600,400">
  <VerticalLayout name="root">
    <HorizontalLayout height="48" inset="0,8,20,8">
      <Control/>
      <Button name="skinbtn" width="40" height="32"/>
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
</Window>)");
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        ASSERT_NE(
            owner.Create(nullptr, "owner", ui::WS_POPUP | ui::WS_VISIBLE, 0, 150, 120, 600, 400),
            nullptr)
            << owner.GetSkinError().toStdString();
        shell::SkinNotifier().Attach(&receiver);
        frame = CSkinFrame::Open(&owner, owner.Find("skinbtn"));
        ASSERT_NE(frame, nullptr);
        frameHost = frame->GetHWND();
    }
    void TearDown() override {
        CSkinFrame::SetFileChooser(&CSkinFrame::ChooseImageFile);
        if (frameHost)
            frame->SendMessage(CSkinFrame::kWmKillFocus);
        test::WaitUntil([&] { return frameHost.isNull(); });
    }

    QPushButton* Button(const char* name, int index = 0) {
        const auto buttons = frameHost->findChildren<QPushButton*>(name);
        return index < buttons.size() ? buttons[index] : nullptr;
    }
    void Click(const char* name, int index = 0) {
        QPushButton* button = Button(name, index);
        ASSERT_NE(button, nullptr) << name << " " << index;
        ASSERT_TRUE(button->isVisible()) << name << " " << index;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    int Page() {
        auto* tab =
            dynamic_cast<ui::CTabLayoutUI*>(frame->GetPaintManager().FindControl("skin_tab"));
        return tab ? tab->GetCurSel() : -2;
    }
    static QString IniText() {
        QFile file(shell::SkinImageFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    test::ScopedEnvironment env{true};
    OwnerWnd owner;
    Receiver receiver;
    CSkinFrame* frame = nullptr;
    QPointer<QWidget> frameHost;
};

TEST_F(SkinFrameTest, OpensUnderTheButtonWithItsRightEdgesAligned) {
    QWidget* anchor = owner.Find("skinbtn")->GetWidget();
    const QPoint bottomRight = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
    EXPECT_TRUE(frameHost->isVisible());
    EXPECT_EQ(frameHost->objectName(), "UISkinFrame");
    EXPECT_EQ(frameHost->pos(), bottomRight - QPoint(frameHost->width(), 0));
}

TEST_F(SkinFrameTest, ThePageButtonsSwitchBetweenImagesAndColours) {
    EXPECT_EQ(Page(), 0);
    Click("skin_color");
    EXPECT_EQ(Page(), 1);
    Click("skin_image");
    EXPECT_EQ(Page(), 0);
    EXPECT_TRUE(receiver.seen.empty());
}

TEST_F(SkinFrameTest, AnImageSwatchIsDeliveredAndStoredAndTheFrameStaysOpen) {
    Click("skin_image_btn", 1);
    ASSERT_EQ(receiver.seen.size(), 1u);
    EXPECT_EQ(receiver.seen[0].isColour, 0);
    EXPECT_EQ(receiver.seen[0].imagePath.toStdString(), "skin/bg_tide.png");
    const auto stored = shell::ReadSkinImage();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->flags, 1);
    EXPECT_EQ(stored->image.toStdString(), "skin/bg_tide.png");
    EXPECT_TRUE(IniText().contains("[SKINIMAGE]")) << IniText().toStdString();
    EXPECT_TRUE(frameHost->isVisible());
}

TEST_F(SkinFrameTest, TheDefaultIsStoredAndALaterColourChangesOnlyTheBackground) {
    Click("skin_reset");
    Click("skin_color");
    Click("skin_color_btn", 3);
    ASSERT_EQ(receiver.seen.size(), 2u);
    EXPECT_EQ(receiver.seen[0].isColour, 0);
    EXPECT_EQ(receiver.seen[0].imagePath.toStdString(), "common/background.png");
    EXPECT_EQ(receiver.seen[1].isColour, 1);
    EXPECT_EQ(receiver.seen[1].colour, 0xFF13283Au);
    EXPECT_TRUE(receiver.seen[1].imagePath.isEmpty());
    const auto stored = shell::ReadSkinImage();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->flags, 0);
    EXPECT_EQ(stored->image.toStdString(), "common/background.png");
    EXPECT_TRUE(QFileInfo::exists(env.SkinFolder() + "common/background.png"));
}

TEST_F(SkinFrameTest, AChosenFileIsDeliveredWithItsFullPathButNotStored) {
    const QString picture = env.DataHome() + "/pictures/../wall.png";
    bool openDuringChoice = false;
    CSkinFrame::SetFileChooser([&] {
        // The dialog takes the focus; the frame must outlive that.
        frame->SendMessage(CSkinFrame::kWmKillFocus);
        QCoreApplication::sendPostedEvents();
        openDuringChoice = frameHost && frameHost->isVisible();
        return picture;
    });
    Click("skin_Custom");
    EXPECT_TRUE(openDuringChoice);
    ASSERT_EQ(receiver.seen.size(), 1u);
    EXPECT_EQ(receiver.seen[0].isColour, 0);
    EXPECT_EQ(receiver.seen[0].imagePath, QFileInfo(picture).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(receiver.seen[0].imagePath).isAbsolute());
    EXPECT_FALSE(QFileInfo::exists(shell::SkinImageFile()));
}

TEST_F(SkinFrameTest, ACancelledFileChoiceChangesNothing) {
    Click("skin_image_btn", 0);
    const QString before = IniText();
    int asked = 0;
    CSkinFrame::SetFileChooser([&] {
        ++asked;
        return QString();
    });
    Click("skin_Custom");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(receiver.seen.size(), 1u);
    EXPECT_EQ(IniText(), before);
    EXPECT_TRUE(frameHost->isVisible());
}

TEST_F(SkinFrameTest, LosingTheFocusEndsTheFrame) {
    frame->SendMessage(ui::WM_ACTIVATE, 0, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return frameHost.isNull(); }));
    EXPECT_TRUE(receiver.seen.empty());
}

} // namespace
