// The skin-change notifier and its receivers: delivery order, private copies, detaching (also
// when a receiver goes), and what a choice does to a window's "root".

#include "shell/windows/SkinBackground.h"
#include "shell/windows/SkinNotifier.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using shell::SkinChangedNotifier;
using shell::SkinChangedParam;
using shell::SkinChangedReceiver;

struct Delivery {
    std::string receiver;
    std::string image;
};

// Records what it is told and then spoils its copy of the record.
class Recorder : public SkinChangedReceiver {
public:
    Recorder(std::string name, std::vector<Delivery>& log) : m_name(std::move(name)), m_log(log) {}
    int OnSkinChanged(SkinChangedParam param) override {
        m_log.push_back({m_name, param.imagePath.toStdString()});
        param.imagePath = QStringLiteral("spoilt");
        return 7;
    }

private:
    std::string m_name;
    std::vector<Delivery>& m_log;
};

std::vector<std::string> Receivers(const std::vector<Delivery>& log) {
    std::vector<std::string> names;
    for (const Delivery& d : log)
        names.push_back(d.receiver);
    return names;
}

TEST(SkinNotifier, DeliversACopyToEveryReceiverInTheOrderTheyWereAttached) {
    std::vector<Delivery> log;
    SkinChangedNotifier notifier;
    Recorder a("a", log), b("b", log), c("c", log);
    notifier.Attach(&c);
    notifier.Attach(&a);
    notifier.Attach(nullptr);
    notifier.Attach(&b);
    EXPECT_EQ(notifier.DeliverAll({0, 0, "skin/bg_tide.png"}), 0);
    EXPECT_EQ(Receivers(log), (std::vector<std::string>{"c", "a", "b"}));
    for (const Delivery& d : log)
        EXPECT_EQ(d.image, "skin/bg_tide.png") << d.receiver << " saw another's change";
}

TEST(SkinNotifier, DetachRemovesOneAttachmentAndAReattachedReceiverComesLast) {
    std::vector<Delivery> log;
    SkinChangedNotifier notifier;
    Recorder a("a", log), b("b", log), c("c", log);
    notifier.Attach(&a);
    notifier.Attach(&b);
    notifier.Attach(&c);
    notifier.Attach(&a); // twice: told twice, and a detach takes the first only
    notifier.Detach(&a);
    notifier.Detach(nullptr);
    notifier.DeliverAll({});
    EXPECT_EQ(Receivers(log), (std::vector<std::string>{"b", "c", "a"}));

    log.clear();
    notifier.Detach(&b);
    notifier.Attach(&b);
    notifier.DeliverAll({});
    EXPECT_EQ(Receivers(log), (std::vector<std::string>{"c", "a", "b"}));
}

TEST(SkinNotifier, AReceiverLeavesEveryNotifierOnRequestAndWhenItGoes) {
    std::vector<Delivery> log;
    SkinChangedNotifier first, second;
    Recorder a("a", log);
    EXPECT_EQ(a.OnNotifierAdded(&first), 1);
    first.Detach(&a); // nothing to detach yet: the count alone does not attach
    first.Attach(&a);
    second.Attach(&a);
    a.DetachFromAll();
    first.DeliverAll({});
    second.DeliverAll({});
    EXPECT_TRUE(log.empty());

    {
        Recorder gone("gone", log);
        first.Attach(&gone);
        second.Attach(&gone);
    }
    EXPECT_EQ(first.ReceiverCount(), 0u);
    EXPECT_EQ(second.ReceiverCount(), 0u);
}

TEST(SkinNotifier, TheProcessHasOneNotifier) {
    EXPECT_EQ(&shell::SkinNotifier(), &shell::SkinNotifier());
}

class SkinBackgroundTest : public ::testing::Test {
protected:
    void Build(const char* xml) {
        host = std::make_unique<QWidget>();
        ui::CDialogBuilder builder;
        root = builder.CreateFromText(xml, "background.xml", nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
        pm.AttachRoot(root, host.get());
    }
    void TearDown() override {
        if (root)
            delete root->GetWidget();
    }
    ui::CPaintManagerUI pm;
    std::unique_ptr<QWidget> host;
    ui::CControlUI* root = nullptr;
};

TEST_F(SkinBackgroundTest, AColourClearsTheImageAndAnImageClearsTheColour) {
    Build(R"(<VerticalLayout name="root" bkcolor="#FF15171C" bkimage="common/background.png"/>)");
    EXPECT_EQ(shell::ApplySkinToRoot(pm, {1, 0xFF13283Au, QStringLiteral("ignored.png")}), 1);
    EXPECT_EQ(root->GetBkColor(), 0xFF13283Au);
    EXPECT_EQ(root->GetBkImage(), QString());

    EXPECT_EQ(shell::ApplySkinToRoot(pm, {0, 0xFF13283Au, QStringLiteral("skin/bg_moss.png")}), 1);
    EXPECT_EQ(root->GetBkColor(), 0u);
    EXPECT_EQ(root->GetBkImage().toStdString(), "skin/bg_moss.png");
}

TEST_F(SkinBackgroundTest, AWindowWithoutRootIsLeftAlone) {
    Build(R"(<VerticalLayout name="body" bkcolor="#FF15171C"/>)");
    EXPECT_EQ(shell::ApplySkinToRoot(pm, {1, 0xFF0B0C0Fu, {}}), 1);
    EXPECT_EQ(root->GetBkColor(), 0xFF15171Cu);
}

} // namespace
