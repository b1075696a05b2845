// The record button's blinking while a macro is being recorded.

#include "ControlsFixture.h"
#include "shell/controls/RedioMacroButtonUI.h"

namespace {

using shell::CRedioMacroButtonUI;

class RedioMacroButtonTest : public test::ControlsFixture {};

TEST_F(RedioMacroButtonTest, BlinkingFadesTheRecordImageUpAndDownAndStopsCleanly) {
    WriteImage("rec.png", {10, 10}, Qt::red);
    Build(R"(<VerticalLayout name="root">
  <RedioMacroButton name="macro_record" width="60" height="30" normalimage="idle.png"
      redioimage="rec.png"/>
  <Control/>
</VerticalLayout>)");
    auto* button = Get<CRedioMacroButtonUI>("macro_record");
    EXPECT_EQ(button->GetRecordImage(), "rec.png");
    button->DoTimer(CRedioMacroButtonUI::kBlinkTimerId);
    EXPECT_EQ(button->GetImage("normal"), "idle.png") << "no blinking before recording";

    button->SetBlinking(true);
    // The toolkit timer drives it.
    ASSERT_TRUE(test::WaitUntil([&] { return button->GetFade() > 80; }));
    button->SetBlinking(false);
    button->SetBlinking(true);

    QList<int> fades;
    for (int i = 0; i < 12; ++i) {
        button->DoTimer(CRedioMacroButtonUI::kBlinkTimerId);
        fades << button->GetFade();
    }
    EXPECT_EQ(fades, (QList<int>{100, 120, 140, 160, 180, 200, 220, 240, 255, 235, 215, 195}));
    EXPECT_EQ(button->GetImage("normal"), "res='rec.png' fade='195'");
    for (int i = 0; i < 6; ++i)
        button->DoTimer(CRedioMacroButtonUI::kBlinkTimerId);
    EXPECT_EQ(button->GetFade(), 80) << "held at the low end";
    button->DoTimer(CRedioMacroButtonUI::kBlinkTimerId);
    EXPECT_EQ(button->GetFade(), 100) << "and back up";
    EXPECT_GT(PixelAt(button, {30, 15}).red(), 60) << "the record image is drawn";

    button->SetBlinking(false);
    EXPECT_EQ(button->GetImage("normal"), "idle.png");
    const int fade = button->GetFade();
    button->DoTimer(CRedioMacroButtonUI::kBlinkTimerId);
    EXPECT_EQ(button->GetFade(), fade);
}

} // namespace
