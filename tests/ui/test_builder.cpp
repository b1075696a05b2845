// Building control trees from skin XML: nesting, attributes, includes, custom tags, defaults,
// and the errors for files that cannot be built.

#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlFactory.h"
#include "ui/DialogBuilder.h"
#include "ui/EditUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace ui;

class BuilderTest : public ::testing::Test {
protected:
    test::ScopedEnvironment env{true};
    CPaintManagerUI pm;
    std::unique_ptr<QWidget> keep; // owns the built tree

    CControlUI* Build(const QString& file, IDialogBuilderCallback* callback = nullptr) {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(file, callback, &pm);
        error = builder.GetLastError();
        if (root)
            keep.reset(root->GetWidget());
        return root;
    }
    QString error;
};

// A custom tag made by the builder callback, as program windows do for their own classes.
class CCustomUI : public CHorizontalLayoutUI {
public:
    QString GetClass() const override { return QStringLiteral("Custom"); }
};

struct Callback : IDialogBuilderCallback {
    QStringList asked;
    CControlUI* CreateControl(const QString& tag) override {
        asked << tag;
        return tag.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0 ? new CCustomUI
                                                                              : nullptr;
    }
};

TEST_F(BuilderTest, BuildsNestedControlsWithTheirAttributes) {
    env.WriteSkinFile("t.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,200" caption="0,0,0,30" mininfo="100,80">
  <Default name="Button" value="textcolor=&quot;#FF112233&quot; tooltip=&quot;default tip&quot;"/>
  <VerticalLayout name="root" bkcolor="#FF101010">
    <HorizontalLayout name="row" height="30">
      <Button name="ok" text="OK" userdata="u1" tag="7" width="60"/>
      <Option name="opt" group="g" selected="true"/>
      <Label name="hidden" visible="false" enabled="false"/>
    </HorizontalLayout>
    <TabLayout name="tabs" selectedid="1">
      <Control name="page0"/>
      <Control name="page1"/>
    </TabLayout>
    <Combo name="combo"><ListLabelElement text="a"/><ListLabelElement text="b"/></Combo>
    <Slider name="slider" min="10" max="20" value="15"/>
    <Edit name="edit" numberonly="true" maxchar="4"/>
  </VerticalLayout>
</Window>)");
    CDialogBuilder builder;
    CControlUI* root = builder.Create(QStringLiteral("t.xml"), nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
    keep.reset(root->GetWidget());

    EXPECT_EQ(builder.GetWindowInfo().size, QSize(320, 200));
    EXPECT_EQ(builder.GetWindowInfo().captionHeight, 30);
    EXPECT_EQ(root->GetName(), "root");
    EXPECT_EQ(root->GetBkColor(), 0xFF101010u);

    auto* ok = control_cast<CButtonUI>(pm.FindControl("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetText(), "OK");
    EXPECT_EQ(ok->GetUserData(), "u1");
    EXPECT_EQ(ok->GetTag(), 7u);
    EXPECT_EQ(ok->GetFixedWidth(), 60);
    EXPECT_EQ(ok->GetTextColor(), 0xFF112233u) << "the <Default> of the class applies";
    EXPECT_EQ(ok->GetToolTip(), "default tip");
    EXPECT_EQ(ok->GetParent(), pm.FindControl("row"));

    auto* hidden = pm.FindControl("hidden");
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_FALSE(hidden->IsEnabled());
    EXPECT_TRUE(control_cast<COptionUI>(pm.FindControl("opt"))->IsSelected());
    EXPECT_EQ(control_cast<CTabLayoutUI>(pm.FindControl("tabs"))->GetCurSel(), 1);
    auto* combo = control_cast<CComboUI>(pm.FindControl("combo"));
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetItemAt(1)->GetText(), "b");
    auto* slider = control_cast<CSliderUI>(pm.FindControl("slider"));
    EXPECT_EQ(slider->GetMinValue(), 10);
    EXPECT_EQ(slider->GetMaxValue(), 20);
    EXPECT_EQ(slider->GetValue(), 15);
    auto* edit = control_cast<CEditUI>(pm.FindControl("edit"));
    EXPECT_TRUE(edit->IsNumberOnly());
    EXPECT_EQ(edit->GetMaxChar(), 4);
}

TEST_F(BuilderTest, IncludesOtherFilesAndMakesCustomTagsThroughTheCallback) {
    env.WriteSkinFile("part.xml",
                      R"(<Window><Custom name="custom"><Button name="inner"/></Custom></Window>)");
    env.WriteSkinFile("sub/row.xml", R"(<Label name="included_root"/>)");
    env.WriteSkinFile("t.xml", R"(<VerticalLayout name="root">
  <Include source="part.xml"/>
  <Include source="sub/row.xml" count="2"/>
</VerticalLayout>)");
    Callback callback;
    CControlUI* root = Build("t.xml", &callback);
    ASSERT_NE(root, nullptr) << error.toStdString();
    auto* layout = control_cast<CContainerUI>(root);
    ASSERT_EQ(layout->GetCount(), 3);
    auto* custom = dynamic_cast<CCustomUI*>(layout->GetItemAt(0));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(pm.FindSubControlByName(custom, "inner")->GetParent(), custom);
    EXPECT_EQ(callback.asked, QStringList{"Custom"}) << "built-in tags never reach the callback";
    EXPECT_EQ(layout->GetItemAt(1)->GetName(), "included_root");
    EXPECT_EQ(layout->GetItemAt(2)->GetName(), "included_root");
}

TEST_F(BuilderTest, FactoryRegisteredClassesAreBuiltFromTheirTag) {
    CControlFactory::GetInstance().RegistControl(
        "CFactoryMadeUI", [] { return static_cast<CControlUI*>(new CCustomUI); });
    env.WriteSkinFile("t.xml", R"(<VerticalLayout><FactoryMade name="made"/></VerticalLayout>)");
    ASSERT_NE(Build("t.xml"), nullptr) << error.toStdString();
    EXPECT_NE(dynamic_cast<CCustomUI*>(pm.FindControl("made")), nullptr);
}

TEST_F(BuilderTest, FailuresNameTheFileAndLineAndBuildNothing) {
    struct Case {
        const char* file;
        const char* content;
        const char* error;
    } cases[] = {
        {"unknown.xml", "<VerticalLayout>\n  <Label/>\n  <Bogus name=\"x\"/>\n</VerticalLayout>",
         "unknown.xml:3: unknown control \"Bogus\""},
        {"malformed.xml", "<VerticalLayout>\n  <Label>\n</VerticalLayout>", "malformed.xml:3:"},
        {"empty.xml", "", "empty.xml:"},
        {"badinclude.xml", "<VerticalLayout>\n<Include source=\"nothere.xml\"/>\n</VerticalLayout>",
         "nothere.xml:0: cannot read the file"},
        {"leaf.xml", "<Label><Button/></Label>", "leaf.xml:1: \"Label\" cannot hold a \"Button\""},
        {"cycle.xml", "<VerticalLayout><Include source=\"cycle.xml\"/></VerticalLayout>",
         "includes nested too deeply"},
    };
    for (const Case& c : cases) {
        env.WriteSkinFile(c.file, c.content);
        const int before = pm.GetControls().size();
        EXPECT_EQ(Build(c.file), nullptr) << c.file;
        EXPECT_TRUE(error.contains(c.error)) << c.file << ": " << error.toStdString();
        EXPECT_EQ(pm.GetControls().size(), before) << c.file << ": nothing stays registered";
    }
    EXPECT_EQ(Build("missing.xml"), nullptr);
    EXPECT_TRUE(error.startsWith("missing.xml:0: cannot read")) << error.toStdString();
}

TEST_F(BuilderTest, FindsControlsByNameAndUnderAParent) {
    env.WriteSkinFile("t.xml", R"(<VerticalLayout name="root">
  <HorizontalLayout name="a"><Label name="same"/></HorizontalLayout>
  <HorizontalLayout name="b"><Label name="same"/></HorizontalLayout>
</VerticalLayout>)");
    ASSERT_NE(Build("t.xml"), nullptr);
    CControlUI* a = pm.FindControl("a");
    CControlUI* b = pm.FindControl("b");
    EXPECT_EQ(pm.FindControl("same")->GetParent(), a) << "the first in build order";
    EXPECT_EQ(pm.FindSubControlByName(b, "same")->GetParent(), b);
    EXPECT_EQ(pm.FindControl("SAME"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(pm.FindSubControlByName(a, "b"), nullptr);

    // Removing a control forgets its name; the next one of that name is found.
    control_cast<CContainerUI>(a)->RemoveAll();
    EXPECT_EQ(pm.FindControl("same")->GetParent(), b);
    // Renaming moves the entry.
    pm.FindControl("same")->SetName("renamed");
    EXPECT_EQ(pm.FindControl("same"), nullptr);
    EXPECT_NE(pm.FindControl("renamed"), nullptr);
}

} // namespace
