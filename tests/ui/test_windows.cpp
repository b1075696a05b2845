// Windows and what runs on them: control and window timers, messages across threads, modal
// windows and their end, menus from XML, centring, and texts from the language table.

#include "support/TestEnvironment.h"
#include "ui/ComboUI.h"
#include "ui/MenuWnd.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace ui;
constexpr WPARAM kAny = ~WPARAM(0);

// Counts the entries whose key is `key` and, unless kAny, whose value is `value`.
template <class K, class V> int Count(const std::vector<std::pair<K, WPARAM>>& v, K key, V value) {
    return static_cast<int>(std::count_if(v.begin(), v.end(), [&](auto& e) {
        return e.first == key && (WPARAM(value) == kAny || e.second == WPARAM(value));
    }));
}

class ControlTimerTest : public ::testing::Test, public INotifyUI {
protected:
    void SetUp() override {
        CDialogBuilder builder;
        CControlUI* built = builder.CreateFromText(
            "<VerticalLayout><Control name='a'/><Control name='b'/></VerticalLayout>", "t", nullptr,
            &pm);
        ASSERT_NE(built, nullptr) << builder.GetLastError().toStdString();
        root.reset(built->GetWidget());
        pm.AddNotifier(this);
        a = pm.FindControl("a");
        b = pm.FindControl("b");
    }
    void Notify(TNotifyUI& msg) override {
        ASSERT_EQ(msg.sType, notify::timer);
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        ticks.emplace_back(msg.pSender, msg.wParam);
        if (onTimer)
            onTimer(msg.pSender);
    }
    int Ticks(CControlUI* c, WPARAM id = kAny) const { return Count(ticks, c, id); }

    CPaintManagerUI pm;
    std::unique_ptr<QWidget> root;
    CControlUI *a = nullptr, *b = nullptr;
    std::vector<std::pair<CControlUI*, WPARAM>> ticks;
    std::function<void(CControlUI*)> onTimer;
};

TEST_F(ControlTimerTest, TimersRepeatWithTheirIdUntilKilled) {
    ASSERT_TRUE(pm.SetTimer(a, 7, 5));
    ASSERT_TRUE(pm.SetTimer(b, 8, 5));
    ASSERT_TRUE(test::WaitUntil([&] { return Ticks(a, 7) >= 3 && Ticks(b, 8) >= 3; }));
    EXPECT_EQ(Ticks(a), Ticks(a, 7));
    EXPECT_EQ(Ticks(b), Ticks(b, 8));
    EXPECT_TRUE(pm.KillTimer(a, 7));
    EXPECT_FALSE(pm.KillTimer(a, 7));
    const int stopped = Ticks(a), running = Ticks(b);
    QTest::qWait(50);
    EXPECT_EQ(Ticks(a), stopped);
    EXPECT_GT(Ticks(b), running) << "the other control's timer keeps running";
}

TEST_F(ControlTimerTest, TimersFromAWorkerThreadRunOnTheUiThread) {
    std::thread([&] { EXPECT_TRUE(pm.SetTimer(a, 3, 5)); }).join();
    ASSERT_TRUE(test::WaitUntil([&] { return Ticks(a, 3) >= 2; }));
    std::thread([&] { pm.KillTimer(a, 3); }).join();
    QTest::qWait(20);
    const size_t stopped = ticks.size();
    // Set from a worker for a control that is gone before the UI thread gets to it.
    std::thread([&] { pm.SetTimer(b, 4, 1); }).join();
    delete b->GetWidget();
    QTest::qWait(40);
    EXPECT_EQ(ticks.size(), stopped);
}

TEST_F(ControlTimerTest, DeletingAControlStopsItsTimers) {
    onTimer = [&](CControlUI* sender) {
        if (sender == b)
            delete b->GetWidget(); // in the handler of its own tick
    };
    pm.SetTimer(a, 1, 1);
    pm.SetTimer(b, 2, 1);
    pm.SetTimer(b, 3, 1);
    ASSERT_TRUE(test::WaitUntil([&] { return Ticks(b) > 0 && Ticks(a) > 2; }));
    EXPECT_EQ(Ticks(b), 1);
    delete a->GetWidget(); // while its timer runs
    const size_t before = ticks.size();
    QTest::qWait(30);
    EXPECT_EQ(ticks.size(), before);
}

class TestWindow : public WindowImplBase {
public:
    std::vector<std::pair<UINT, WPARAM>> messages; // WM_TIMER, WM_DESTROY and from WM_USER
    QThread* handlerThread = nullptr;
    MenuCmd lastMenu;
    std::function<void(WPARAM)> onTimer;
    bool selfDelete = false;
    bool* destroyed = nullptr;
    int finals = 0;

    ~TestWindow() override {
        if (destroyed)
            *destroyed = true;
    }
    QString GetWindowClassName() const override { return QStringLiteral("TestWindow"); }
    QString GetSkinFile() override { return QStringLiteral("wnd.xml"); }
    int Count(UINT msg, WPARAM w = kAny) const { return ::Count(messages, msg, w); }

protected:
    LRESULT HandleCustomMessage(UINT msg, WPARAM w, LPARAM, bool& handled) override {
        if (msg == WM_TIMER || msg == WM_DESTROY || msg >= WM_USER)
            messages.emplace_back(msg, w);
        if (msg == WM_TIMER && onTimer)
            onTimer(w);
        if (msg == WM_MENUCLICK)
            lastMenu = *reinterpret_cast<MenuCmd*>(w);
        if (msg != WM_USER + 1)
            return 0;
        handlerThread = QThread::currentThread();
        handled = true;
        return static_cast<LRESULT>(w * 2);
    }
    void OnFinalMessage() override {
        ++finals;
        if (selfDelete)
            delete this;
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.WriteSkinFile("wnd.xml", R"(<Window size="200,100"><VerticalLayout name="root">
  <Button name="closebtn" height="20"/>
  <Label name="hello" text="hello" resourcetext="true"/>
  <Label name="base_only" text="base_only" resourcetext="true"/>
  <Label name="nowhere" text="nowhere" resourcetext="true"/>
  <Combo name="combo"><ListLabelElement text="hello" resourcetext="true"/></Combo>
</VerticalLayout></Window>)");
    }
    void TearDown() override { CResourceManager::GetInstance().Release(); }
    test::ScopedEnvironment env{true};
};

TEST_F(WindowTest, WindowTimersSendWmTimerUntilKilledOrTheWindowEnds) {
    TestWindow w;
    ASSERT_NE(w.Create(nullptr, "w", 0, 0), nullptr);
    w.onTimer = [&](WPARAM id) {
        if (id == 6)
            w.KillTimer(6); // from its own handler
    };
    ASSERT_TRUE(w.SetTimer(4, 5) && w.SetTimer(5, 5) && w.SetTimer(6, 1));
    ASSERT_TRUE(test::WaitUntil([&] { return w.Count(WM_TIMER, 4) >= 3; }));
    EXPECT_TRUE(w.KillTimer(4));
    EXPECT_FALSE(w.KillTimer(4));
    const int four = w.Count(WM_TIMER, 4), five = w.Count(WM_TIMER, 5);
    QTest::qWait(40);
    EXPECT_EQ(w.Count(WM_TIMER, 4), four);
    EXPECT_GT(w.Count(WM_TIMER, 5), five);
    EXPECT_EQ(w.Count(WM_TIMER, 6), 1);

    w.Close(0);
    ASSERT_TRUE(test::WaitUntil([&] { return w.GetHWND() == nullptr; }));
    const int ended = w.Count(WM_TIMER);
    QTest::qWait(30);
    EXPECT_EQ(w.Count(WM_TIMER), ended);
}

TEST_F(WindowTest, SendMessageFromAWorkerRunsOnTheUiThreadAndPostMessageQueues) {
    TestWindow w;
    EXPECT_EQ(w.SendMessage(WM_USER + 1, 5), 10);
    std::atomic<bool> done{false};
    LRESULT result = 0;
    std::thread worker([&] {
        result = w.SendMessage(WM_USER + 1, 21);
        done = true;
    });
    EXPECT_TRUE(test::WaitUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(w.handlerThread, qApp->thread());

    w.PostMessage(WM_USER + 2, 1);
    w.PostMessage(WM_USER + 2, 2);
    EXPECT_EQ(w.Count(WM_USER + 2), 0) << "posted messages wait for the event loop";
    QCoreApplication::processEvents();
    ASSERT_EQ(w.messages.size(), 4u);
    EXPECT_EQ(w.messages[2].second, 1u);
    EXPECT_EQ(w.messages[3].second, 2u);
}

TEST_F(WindowTest, ShowModalReturnsTheCodeOfTheFirstCloseAndTheWindowEndsOnce) {
    TestWindow w, closeButton, windowManager;
    ASSERT_NE(w.Create(nullptr, "modal", 0, 0), nullptr);
    QTimer::singleShot(0, [&] { w.Close(5), w.Close(6); });
    EXPECT_EQ(w.ShowModal(), 5);
    ASSERT_TRUE(test::WaitUntil([&] { return w.GetHWND() == nullptr; }));
    QTest::qWait(10);
    EXPECT_EQ(w.Count(WM_DESTROY), 1);
    EXPECT_EQ(w.finals, 1);

    ASSERT_NE(closeButton.Create(nullptr, "closebtn", 0, 0), nullptr);
    QWidget* button = closeButton.Find("closebtn")->GetWidget();
    QTimer::singleShot(0, [&] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(closeButton.ShowModal(), 0);
    ASSERT_NE(windowManager.Create(nullptr, "wm", 0, 0), nullptr);
    QTimer::singleShot(0, [&] { windowManager.GetHWND()->close(); });
    EXPECT_EQ(windowManager.ShowModal(), 0);

    bool destroyed = false;
    auto* self = new TestWindow; // goes in its OnFinalMessage
    self->selfDelete = true;
    self->destroyed = &destroyed;
    ASSERT_NE(self->Create(nullptr, "self", 0, 0), nullptr);
    QTimer::singleShot(0, [self] { self->Close(7); });
    EXPECT_EQ(self->ShowModal(), 7);
    EXPECT_TRUE(test::WaitUntil([&] { return destroyed; }));
}

TEST_F(WindowTest, CenterWindowCentresOnTheScreen) {
    TestWindow w;
    ASSERT_NE(w.Create(nullptr, "c", 0, 0, 3, 4, 200, 100), nullptr);
    w.CenterWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w.GetHWND()->geometry().center() - screen.center()).manhattanLength(), 2);
}

// A menu as "name=text" items, "-" for separators, "[...]" for sub-menus.
QString Describe(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) {
        QMenu* sub = a->menu();
        QString item =
            a->isSeparator() ? "-" : (sub ? sub->objectName() : a->objectName()) + '=' + a->text();
        item += !a->isVisible() ? "(hidden)" : a->isEnabled() ? "" : "(off)";
        items << (sub ? item + '[' + Describe(sub) + ']' : item);
    }
    return items.join(' ');
}

TEST_F(WindowTest, MenusAreBuiltFromXmlAndReportClicksToTheirOwner) {
    env.WriteSkinFile("lan_t.xml",
                      R"(<Language><Text id="open_text" value="Open it"/></Language>)");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lan_t.xml"));
    env.WriteSkinFile("m.xml", R"(<Window><Menu>
  <MenuElement name="open" text="open_text" resourcetext="true" userdata="u1"/>
  <MenuElement name="off" text="Off" enabled="false"/>
  <MenuSeparator/>
  <MenuElement name="more" text="More"><MenuElement name="deep" text="Deep" checkitem="true"/></MenuElement>
  <MenuElement name="gone" text="Gone" visible="false"/>
</Menu></Window>)");
    TestWindow owner;
    CMenuWnd menu;
    ASSERT_TRUE(menu.Build(&owner, "m.xml")) << menu.GetLastError().toStdString();
    EXPECT_EQ(Describe(menu.GetMenu()).toStdString(),
              "open=Open it off=Off(off) - more=More[deep=Deep] gone=Gone(hidden)");

    menu.GetMenu()->findChild<QAction*>("open")->trigger();
    EXPECT_EQ(owner.lastMenu.szName, "open");
    EXPECT_EQ(owner.lastMenu.szUserData, "u1");
    EXPECT_EQ(owner.lastMenu.szText, "Open it");
    menu.GetMenu()->findChild<QAction*>("deep")->trigger();
    EXPECT_EQ(owner.lastMenu.szName, "deep");
    EXPECT_TRUE(owner.lastMenu.bChecked);
    EXPECT_EQ(owner.Count(WM_MENUCLICK), 2);

    const QPoint p(300, 300);
    const QSize size = menu.GetMenu()->sizeHint();
    EXPECT_EQ(menu.PlacementFor(p, eMenuAlignment_Left | eMenuAlignment_Top), p);
    EXPECT_EQ(menu.PlacementFor(p, eMenuAlignment_Right | eMenuAlignment_Bottom),
              p - QPoint(size.width(), size.height()));

    env.WriteSkinFile("bad.xml", "<Menu>\n<MenuElement name=\"a\">\n</Menu>");
    env.WriteSkinFile("odd.xml", "<Menu>\n  <Button/>\n</Menu>");
    for (const char* file : {"bad.xml:3:", "odd.xml:2: unknown menu element", "none.xml:0:"}) {
        EXPECT_FALSE(menu.Build(&owner, QString(file).section(':', 0, 0)));
        EXPECT_TRUE(menu.GetLastError().startsWith(file)) << menu.GetLastError().toStdString();
        EXPECT_EQ(menu.GetMenu(), nullptr) << "not even the menu built before";
    }
}

TEST_F(WindowTest, ResourceTextsFollowTheLanguageAndFallBack) {
    env.WriteSkinFile("lan_base.xml", R"(<Language><Text id="hello" value="Hello"/>
<Text id="base_only" value="Only in base"/></Language>)");
    env.WriteSkinFile(
        "lan_a.xml",
        R"(<Language base="lan_base.xml"><Text id="hello" value="Hallo"/></Language>)");
    env.WriteSkinFile("lan_b.xml", R"(<Language><Text id="hello" value="Bonjour"/></Language>)");
    env.WriteSkinFile("broken.xml", R"(<Language><Text id="hello" value="Broken"/>)");
    env.WriteSkinFile("loop.xml",
                      R"(<Language base="loop.xml"><Text id="hello" value="Loop"/></Language>)");
    CResourceManager& res = CResourceManager::GetInstance();
    ASSERT_TRUE(res.LoadLanguage("lan_a.xml"));
    TestWindow w;
    ASSERT_NE(w.Create(nullptr, "texts", 0, 0), nullptr) << w.GetSkinError().toStdString();
    auto shown = [&](const char* name) {
        return static_cast<QLabel*>(w.Find(name)->GetWidget())->text().toStdString();
    };
    auto* combo = w.Find<CComboUI>("combo");
    EXPECT_EQ(shown("hello"), "Hallo");
    EXPECT_EQ(shown("base_only"), "Only in base");
    EXPECT_EQ(shown("nowhere"), "nowhere");
    EXPECT_EQ(combo->itemText(0), "Hallo");

    ASSERT_TRUE(res.LoadLanguage("lan_b.xml"));
    EXPECT_EQ(shown("hello"), "Hallo") << "until the texts are reloaded";
    res.ReloadText();
    EXPECT_EQ(shown("hello"), "Bonjour");
    EXPECT_EQ(shown("base_only"), "base_only");
    EXPECT_EQ(combo->itemText(0), "Bonjour");

    for (const char* file : {"missing.xml", "broken.xml", "loop.xml"})
        EXPECT_FALSE(res.LoadLanguage(file)) << file;
    res.ReloadText();
    EXPECT_EQ(shown("hello"), "Bonjour") << "a failed load keeps the texts";
}

} // namespace
