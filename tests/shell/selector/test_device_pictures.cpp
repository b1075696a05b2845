// The drawings a device item shows for each kind, and the receiver badge; the power item's
// picture and the page's body, which follow the device between its cable and its receiver.

#include "selector_fixture.h"
#include "shell/selector/DeviceItemImages.h"
#include "ui/ButtonUI.h"

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>

namespace selector_test {
namespace {

struct KindPicture {
    int kind;
    int subKind;
    const char* picture;
};

// Whether the drawing renders at the control's size at this pixel density and paints there.
::testing::AssertionResult RendersAt(const QString& file, qreal ratio) {
    const QPixmap pixmap = QIcon(file).pixmap(QSize(48, 48), ratio);
    if (pixmap.isNull())
        return ::testing::AssertionFailure() << "no picture at ratio " << ratio;
    const int side = qRound(48 * ratio);
    if (pixmap.width() != side || pixmap.height() != side)
        return ::testing::AssertionFailure()
               << pixmap.width() << "x" << pixmap.height() << " at ratio " << ratio;
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255)
                return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "nothing drawn at ratio " << ratio;
}

class DevicePictures : public SelectorFixture {};

TEST_F(DevicePictures, EachKindShowsItsDrawingCrispAtBothDensities) {
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg"))
        << "the svg image plugin is missing";
    const KindPicture kinds[] = {{1, 0, "devices/keyboard.svg"}, {2, 0, "devices/mouse.svg"},
                                 {3, 0, "devices/mousepad.svg"}, {3, 1, "devices/mousepad.svg"},
                                 {4, 0, "devices/headset.svg"},  {7, 0, "devices/headset.svg"},
                                 {5, 0, "devices/hub.svg"},      {6, 0, "devices/unknown.svg"}};
    AddDevice(0);
    auto* option = Find<ui::COptionUI>("device_select");
    ASSERT_NE(option, nullptr);
    for (const KindPicture& k : kinds) {
        SCOPED_TRACE(k.picture);
        Item(0).SetKind(k.kind, k.subKind);
        ASSERT_EQ(option->GetBkImage(), k.picture);
        const QString file = env.SkinFolder() + option->GetBkImage();
        EXPECT_TRUE(RendersAt(file, 1.0));
        EXPECT_TRUE(RendersAt(file, 1.5));
        EXPECT_FALSE(QImage(env.SkinFolder() + option->GetImage("selected")).isNull());
    }
    EXPECT_TRUE(RendersAt(env.SkinFolder() + shell::ReceiverMarkImage(), 1.5));
}

TEST_F(DevicePictures, TheDrawingIsTheImageOverTheBitmapFrame) {
    AddDevice(0);
    Item(0).SetKind(2, 0);
    auto* option = Find<ui::COptionUI>("device_select");
    ASSERT_NE(option, nullptr);
    QString sheet; // the control's own sheet or the one it shares with its window
    for (const QWidget* w = option->GetWidget(); w; w = w->parentWidget())
        sheet += w->styleSheet();
    EXPECT_TRUE(
        sheet.contains(QStringLiteral("image: url(\"%1devices/mouse.svg\")").arg(env.SkinFolder())))
        << sheet.toStdString();
    EXPECT_FALSE(sheet.contains(QLatin1String("border-image: url(\"") + env.SkinFolder() +
                                QLatin1String("devices/")));
    EXPECT_TRUE(sheet.contains(QLatin1String("border-image: url(\"") + env.SkinFolder() +
                               QLatin1String("common/device_ico/device_frame_normal.png")));
}

TEST_F(DevicePictures, TheBadgeShowsWhileAKeyboardOrMouseWorksThroughItsReceiver) {
    AddDevice(0);
    auto* mark = Find<ui::CControlUI>("device_receiver_mark");
    ASSERT_NE(mark, nullptr);
    Item(0).SetKind(1, 0);
    EXPECT_FALSE(mark->IsVisible()) << "on its cable";

    deviceList[0]->CommandChannel().SelectMode(transport::CDeviceComm::kModeReceiver);
    Item(0).SetKind(1, 0);
    EXPECT_TRUE(mark->IsVisible());
    EXPECT_EQ(mark->GetBkImage(), shell::ReceiverMarkImage());
    Item(0).SetKind(2, 0);
    EXPECT_TRUE(mark->IsVisible());
    Item(0).SetKind(4, 0);
    EXPECT_FALSE(mark->IsVisible()) << "a headset's receiver is not the item's";

    Item(0).SetKind(2, 0);
    deviceList[0]->CommandChannel().SelectMode(transport::CDeviceComm::kModeCable);
    Item(0).SetKind(2, 0);
    EXPECT_FALSE(mark->IsVisible());
}

// A device whose page draws the device under its lights, as the mouse and mouse pad pages do.
class ConnectionPictures : public SelectorFixture {
protected:
    int AddDeviceWithBody(int modelRow) {
        env.WriteSkinFile("page_with_body.xml", R"(<VerticalLayout>
  <Control name="device_body" bkimage="devices/mouse-body-cable.svg"/>
</VerticalLayout>)");
        ui::CDialogBuilder builder;
        ui::CControlUI* page = builder.Create("page_with_body.xml", nullptr, &pm);
        EXPECT_NE(page, nullptr) << builder.GetLastError().toStdString();
        auto device = devices::CreateDeviceForModel(modelRow, &backend);
        const auto added = selector->AddItem(device.get(), page, nullptr);
        pages.push_back(page);
        powers.push_back(added.power);
        deviceList.push_back(std::move(device));
        return added.index;
    }
    void Connect(int index, int mode) {
        deviceList[static_cast<std::size_t>(index)]->CommandChannel().SelectMode(mode);
        Item(index).SetKind(Item(index).GetKind(), 0); // as the item's refresh finds it
    }
    ui::CControlUI* Picture(int index) {
        return pm.FindSubControlByName(powers[static_cast<std::size_t>(index)],
                                       QStringLiteral("device_power_picture"));
    }
    QString Body(int index) {
        ui::CControlUI* body = pm.FindSubControlByName(pages[static_cast<std::size_t>(index)],
                                                       QStringLiteral("device_body"));
        return body ? body->GetBkImage() : QStringLiteral("(no body)");
    }
};

TEST_F(ConnectionPictures, TheMouseMovesBetweenItsCableAndItsReceiverInThePowerItemAndOnItsPage) {
    const int mouse = AddDeviceWithBody(0);
    ASSERT_NE(Picture(mouse), nullptr);
    EXPECT_TRUE(Picture(mouse)->IsVisible());
    EXPECT_EQ(Picture(mouse)->GetBkImage(), "devices/mouse-cable.svg");
    EXPECT_EQ(Body(mouse), "devices/mouse-body-cable.svg");

    Connect(mouse, transport::CDeviceComm::kModeReceiver);
    EXPECT_EQ(Picture(mouse)->GetBkImage(), "devices/mouse-receiver.svg");
    EXPECT_EQ(Body(mouse), "devices/mouse-body-receiver.svg");
    EXPECT_TRUE(powers[0]->ShowsReceiver());

    Connect(mouse, transport::CDeviceComm::kModeCable);
    EXPECT_EQ(Picture(mouse)->GetBkImage(), "devices/mouse-cable.svg");
    EXPECT_EQ(Body(mouse), "devices/mouse-body-cable.svg");
}

TEST_F(ConnectionPictures, AKeyboardWithoutBatteryStillShowsItselfAndLeavesThePageAlone) {
    const int keyboard = AddDeviceWithBody(1);
    Connect(keyboard, transport::CDeviceComm::kModeReceiver);
    EXPECT_EQ(Picture(keyboard)->GetBkImage(), "devices/keyboard-receiver.svg");
    Connect(keyboard, transport::CDeviceComm::kModeCable);
    powers[0]->ShowNoPowerStatus();
    EXPECT_TRUE(Picture(keyboard)->IsVisible()) << "the picture is not part of the battery";
    EXPECT_EQ(Picture(keyboard)->GetBkImage(), "devices/keyboard-cable.svg");
    EXPECT_EQ(Body(keyboard), "devices/mouse-body-cable.svg") << "its keys are its body";
}

TEST_F(ConnectionPictures, APadHeadsetOrHubHasOneDrawing) {
    const int pad = AddDeviceWithBody(2);
    powers[0]->ShowConnection(true); // no receiver drawing to look for
    EXPECT_EQ(Picture(pad)->GetBkImage(), "devices/mousepad.svg");
    EXPECT_EQ(Body(pad), "devices/mousepad-body.svg");

    powers[0]->SetKind(4, 0);
    EXPECT_EQ(Picture(pad)->GetBkImage(), "devices/headset.svg");
    powers[0]->SetKind(5, 0);
    EXPECT_EQ(Picture(pad)->GetBkImage(), "devices/hub.svg");
    EXPECT_TRUE(Picture(pad)->IsVisible());
}

} // namespace
} // namespace selector_test
