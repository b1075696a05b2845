#include "shell/Application.h"

#include "config/FolderStamp.h"
#include "ctl/CommandWorker.h"
#include "devices/HeadsetAudio.h"
#include "devices/IdentityRecord.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "platform/DebugLog.h"
#include "platform/InstanceBus.h"
#include "platform/Paths.h"
#include "platform/PrivateFonts.h"
#include "platform/SignalWatcher.h"
#include "shell/ControlClasses.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <memory>
#include <optional>

namespace shell {

namespace {

// The program ends through a quit event (the main window's shutdown, the about window's close).
// Qt would first ask every window to close, and a window that only hides when asked (as ours
// do, so that the tray keeps the program) would refuse the quit for good; the loop ends here
// instead.
class QuitWithoutAsking : public QObject {
protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (target == QCoreApplication::instance() && event->type() == QEvent::Quit) {
            QCoreApplication::exit(0);
            return true;
        }
        return false;
    }
};

// Other programs reach the window through the bus object; each call becomes the window
// message it stands for. The identity record needs no window.
void ConnectBus(platform::InstanceBus& bus, CMainWnd& mainWnd, ctl::CommandWorker& commands) {
    bus.handlers.activate = [&mainWnd] { mainWnd.PostMessage(g_messages.instance, 0, 1); };
    bus.handlers.setLightControl = [&mainWnd](quint32 wParam, quint32 lParam) {
        mainWnd.PostMessage(g_messages.setLightControl, wParam, lParam);
    };
    bus.handlers.settingsRelay = [&mainWnd](quint32 wParam, quint32 lParam) {
        mainWnd.PostMessage(g_messages.settingsRelay, wParam, lParam);
    };
    bus.handlers.identify = [] {
        const auto record = devices::BuildIdentityRecord();
        return QByteArray(reinterpret_cast<const char*>(record.data()),
                          static_cast<qsizetype>(record.size()));
    };
    bus.handlers.copyData = [&mainWnd](quint32 id, const QByteArray& bytes) {
        return mainWnd.OnCopyData(id, bytes);
    };
    bus.handlers.gameEvent = [&mainWnd](const QString& name, quint32 form, quint32 mode) {
        const ui::UINT message = GameEventMessage(name);
        if (message == 0)
            return false;
        mainWnd.PostMessage(message, form, mode);
        return true;
    };
    bus.handlers.runCommand = [&commands](std::vector<std::string> args, bool json,
                                          platform::CommandDone done) {
        commands.Post(std::move(args), json,
                      [done = std::move(done)](std::optional<ctl::CapturedRun> run) {
                          if (!run)
                              return done(std::nullopt);
                          done(platform::CommandOutput{run->exitCode, std::move(run->out),
                                                       std::move(run->err)});
                      });
    };
}

// Runs one command of quarin-z17ctl's on the program's devices and files. A command that
// writes the user files (a profile, a key, a light setting) leaves the window's copies old,
// and the window's next save would put them back: it reads them again as soon as the command
// ends. Compared with the files as they were when the command began; a change the window made
// itself meanwhile only costs it one more read.
ctl::CapturedRun RunCommandForPeer(const std::vector<std::string>& args, bool json,
                                   CMainWnd* const& window) {
    const config::FolderStamp before = config::StampFolder(platform::UserFolder());
    ctl::DispatchContext context;
    context.installedVersion = QUARIN_VERSION;
    ctl::CapturedRun run =
        ctl::RunForwardedCommand(transport::DefaultHidBackend(), args, json, context);
    if (config::StampFolder(platform::UserFolder()) != before) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&window] {
                if (window)
                    window->ReadProfilesAgain();
            },
            Qt::QueuedConnection);
    }
    return run;
}
} // namespace

void SetUpResources() {
    const QString skin = QString::fromStdString(platform::SkinFolder());
    ui::CPaintManagerUI::SetInstancePath(QString::fromStdString(platform::ProgramDataFolder()));
    ui::CPaintManagerUI::SetResourcePath(skin);
    ui::CResourceManager::GetInstance().LoadResource(QStringLiteral("res.xml"));
    // The look of the program's windows: the skin's style sheet; "skin:" in its urls names the
    // skin folder.
    QDir::setSearchPaths(QStringLiteral("skin"), {skin});
    QFile style(skin + QStringLiteral("style.qss"));
    if (style.open(QIODevice::ReadOnly))
        ui::CPaintManagerUI::SetStyleSheet(QString::fromUtf8(style.readAll()));
    RegisterProgramControls();
}

int RunApplication(int& argc, char** argv, const StartOptions& options) {
    // File dialogs through the desktop's portal when one answers; the portal theme leaves
    // everything else to the desktop's own theme, and falls back to Qt's dialog without a
    // portal. A theme the user chose is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME"))
        qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
    QApplication app(argc, argv);
    app.setOrganizationName(QString::fromUtf8(platform::kProductTitle));
    app.setApplicationName(QString::fromUtf8(platform::kProductTitle));
    app.setApplicationVersion(QStringLiteral(QUARIN_VERSION));
    // The desktop matches the windows to the menu entry quarin-z17.desktop (name and icon).
    app.setDesktopFileName(QStringLiteral("quarin-z17"));
    app.setQuitOnLastWindowClosed(false); // the tray keeps the program
    QuitWithoutAsking quitFilter;
    app.installEventFilter(&quitFilter);

    platform::PrivateFonts fonts;
    fonts.Load(QString::fromStdString(platform::FontFolder()));

    const ui::UINT instanceMessage = RegisterInstanceMessage();
    platform::DebugLog("软件标示：%u", instanceMessage);
    if (instanceMessage < 0xC000 || instanceMessage > 0xFFFF)
        return 0;

    platform::InstanceBus bus;
    switch (bus.ClaimName()) {
    case platform::InstanceBus::Claim::AnotherInstance: {
        QString error;
        if (!platform::InstanceBus::ActivateRunningInstance(&error))
            std::fprintf(stderr, "quarin-z17: the running instance does not answer: %s\n",
                         qPrintable(error));
        return 0;
    }
    case platform::InstanceBus::Claim::NoBus:
        std::fprintf(stderr, "quarin-z17: no D-Bus session bus; running without the "
                             "single-instance guard.\n");
        break;
    case platform::InstanceBus::Claim::Owned:
        break;
    }

    platform::DebugLog("program data folder: %s", platform::ProgramDataFolder().c_str());
    SetUpResources();
    RegisterProgramMessages();

    // Demo: the virtual devices take the place of the hidraw nodes for the whole run.
    sim::VirtualHidBackend virtualDevices;
    std::vector<std::shared_ptr<sim::VirtualDevice>> demoDevices;
    if (options.demo) {
        for (sim::VirtualProduct product : options.demoProducts) {
            demoDevices.push_back(sim::MakeVirtualDevice(product));
            virtualDevices.Plug(demoDevices.back());
        }
        transport::SetDefaultHidBackend(&virtualDevices);
        devices::CHeadsetAudio::SetLibraryFactory(
            [] { return std::make_unique<::headset::VirtualHeadsetLibrary>(); });
    }

    // quarin-z17ctl's commands while this program owns the devices: the same dispatcher over the
    // program's backend, on a thread of their own. `window` is the main window while it is
    // there, null once it goes: a command ending on the worker's thread reaches it through the
    // event loop only.
    CMainWnd* window = nullptr;
    std::optional<ctl::CommandWorker> commands;
    commands.emplace([&window](const std::vector<std::string>& args, bool json) {
        return RunCommandForPeer(args, json, window);
    });

    int exitCode = 0;
    {
        CMainWnd mainWnd;
        mainWnd.SetInstanceBus(&bus);
        mainWnd.SetStartHidden(options.hidden);
        mainWnd.SetConnectWatch([&commands](const void* what, bool connecting) {
            connecting ? commands->Hold(what) : commands->Release(what);
        });
        if (!mainWnd.Open()) {
            std::fprintf(stderr, "quarin-z17: the main window cannot be built: %s\n",
                         qPrintable(mainWnd.GetSkinError()));
            exitCode = 1;
        } else {
            mainWnd.SetDemoMode(options.demo);
            window = &mainWnd;
            ConnectBus(bus, mainWnd, *commands);
            mainWnd.WatchSystemSleep();
            platform::WatchTerminationSignals([&mainWnd] { mainWnd.Close(0); });
            app.exec();
        }
        window = nullptr;
        bus.handlers = {};
    }
    // The command that runs ends on the demo's devices; those still waiting are refused.
    commands.reset();
    ui::CResourceManager::GetInstance().Release();
    fonts.Remove();
    if (options.demo)
        transport::SetDefaultHidBackend(nullptr);
    return exitCode;
}

} // namespace shell
