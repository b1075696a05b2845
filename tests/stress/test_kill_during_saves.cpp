// quarin-z17ctl killed with SIGKILL at random moments while it saves profile files: after
// every kill each file of the user folder is a whole JSON document, either the one it held
// before the command or the one the command writes when it runs to its end (the same command
// run in this process on a second user folder in the same state shows which). A file is never
// lost or left half-written; only the killed process's hidden temporary files stay behind.

#include "StressFigures.h"
#include "config/AtomicFile.h"
#include "ctl/CtlRun.h"
#include "ctl/Dispatch.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using stress::Clock;

constexpr int kKills = 1000;

// Relative path -> content, for every file under a folder.
using FolderState = std::map<std::string, std::string>;

// AtomicFile's temporaries: ".NAME.tmp-PID-N" beside the file they replace.
bool IsTemporary(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.size() > 1 && name[0] == '.' && name.find(".tmp-") != std::string::npos;
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The state of a folder; temporaries are counted apart.
FolderState StateOf(const fs::path& root, int* temporaries = nullptr) {
    FolderState state;
    if (temporaries)
        *temporaries = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        if (IsTemporary(entry.path())) {
            if (temporaries)
                ++*temporaries;
            continue;
        }
        state[fs::relative(entry.path(), root).string()] = ReadWhole(entry.path());
    }
    return state;
}

void Restore(const fs::path& root, const FolderState& state) {
    fs::remove_all(root);
    fs::create_directories(root);
    for (const auto& [name, content] : state) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name, std::ios::binary) << content;
    }
}

bool IsJsonDocument(const std::string& text) {
    Json::CharReaderBuilder builder;
    Json::Value document;
    std::string errors;
    std::istringstream in(text);
    return Json::parseFromStream(builder, in, &document, &errors);
}

// One run of the program, its user data in `dataHome`.
class CtlProcess {
public:
    CtlProcess(const std::vector<std::string>& arguments, const fs::path& dataHome) {
        std::vector<std::string> environment;
        for (char** variable = environ; *variable; ++variable) {
            if (std::string_view(*variable).rfind("XDG_DATA_HOME=", 0) != 0)
                environment.emplace_back(*variable);
        }
        environment.push_back("XDG_DATA_HOME=" + dataHome.string());
        std::vector<std::string> argv{QUARIN_CTL_PROGRAM};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> argp, envp;
        for (std::string& a : argv)
            argp.push_back(a.data());
        argp.push_back(nullptr);
        for (std::string& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        m_started = Clock::now();
        if (posix_spawn(&m_pid, argv[0].c_str(), &actions, nullptr, argp.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    bool Started() const { return m_pid > 0; }
    void Kill() { ::kill(m_pid, SIGKILL); }
    // The wait status.
    int Wait() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_ended = Clock::now();
        return status;
    }
    double DurationMs() const { return stress::MillisecondsBetween(m_started, m_ended); }

private:
    pid_t m_pid = -1;
    Clock::time_point m_started, m_ended;
};

// The commands that save: the profile list, profile documents and their light fields, for
// the keyboard and the mouse; the light commands also write to the virtual device.
constexpr int kKinds = 6;

std::vector<std::string> CommandFor(int i) {
    const std::string n = std::to_string(i);
    switch (i % kKinds) {
    case 0:
        return {"profile", "rename", "keyboard", "Profile " + n};
    case 1: {
        char code[8];
        std::snprintf(code, sizeof code, "%06X", 0x200004 + i % 40);
        return {"key", "set", "keyboard", std::to_string(i % 30), code};
    }
    case 2:
        return {"--demo=keyboard",         "light",        "keyboard",           "--mode",
                std::to_string(1 + i % 8), "--brightness", std::to_string(i % 4)};
    case 3:
        return {"profile", "rename", "mouse", "Mouse " + n};
    case 4:
        return {"--demo=mouse",
                "light",
                "mouse",
                "--mode",
                std::to_string(i % 4),
                "--colour",
                i % 2 ? "FF8000" : "00C0FF"};
    default: {
        char code[8];
        // The same key comes again after 30 commands, then with another code.
        std::snprintf(code, sizeof code, "%06X", 0x200004 + (i / 30) % 7);
        return {"key", "set", "mouse", std::to_string(i % 5), code};
    }
    }
}

// The command run to its end in this process on the user folder `dataHome`, with its virtual
// device answering at once; the exit code.
int RunToTheEnd(std::vector<std::string> arguments, const fs::path& dataHome) {
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> device;
    if (arguments.front().rfind("--demo=", 0) == 0) {
        device = sim::MakeVirtualDevice(arguments.front() == "--demo=mouse"
                                            ? sim::VirtualProduct::Mouse
                                            : sim::VirtualProduct::Keyboard);
        device->SetReplyDelay(std::chrono::microseconds(0));
        backend.Plug(device);
        arguments.erase(arguments.begin());
    }
    // Only the content counts here: the reference folder need not reach the disk.
    config::FileCalls calls = config::FileCalls::System();
    calls.fsync = [](int) { return 0; };
    const config::ScopedFileCalls withoutSync(calls);
    const std::string previous = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    const test::CtlRun run = test::RunCaptured(
        [&](const ctl::Output& output) { return ctl::Dispatch(backend, arguments, output); });
    ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
    return run.exitCode;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

TEST(KillDuringSaves, EveryFileIsAWholeVersionAfterEachKill) {
    stress::Stopwatch watch;
    test::DataFolders folders;
    const fs::path victim = folders.UserData();
    const fs::path reference = folders.Root() / "reference";

    // The profiles exist before the first kill, so that every command replaces files.
    // How long each kind of command usually runs: these runs, then those that end before their
    // kill.
    std::array<double, kKinds> usualMs{};
    for (int i = 0; i < kKinds; ++i) {
        CtlProcess run(CommandFor(i), victim);
        ASSERT_TRUE(run.Started());
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Joined(CommandFor(i));
        usualMs[static_cast<std::size_t>(i)] = run.DurationMs();
    }
    ASSERT_FALSE(StateOf(victim).empty());

    std::mt19937 random(20261210);
    long long unchanging = 0, leftAsBefore = 0, leftMixed = 0, leftAsAfter = 0, finished = 0,
              leftTemporaries = 0;
    for (int i = kKinds; i < kKinds + kKills; ++i) {
        const std::vector<std::string> command = CommandFor(i);
        const FolderState before = StateOf(victim);

        // What the command writes when it is left to finish, from the same state.
        Restore(reference, before);
        ASSERT_EQ(RunToTheEnd(command, reference), 0) << Joined(command);
        const FolderState after = StateOf(reference);
        unchanging += before == after ? 1 : 0;

        // The same run, killed anywhere from the time it starts its work (the start of the
        // process takes the first third or so) to a little past its usual end.
        std::uniform_real_distribution<double> moment(0.3 * usualMs[i % kKinds],
                                                      1.1 * usualMs[i % kKinds]);
        CtlProcess killed(command, victim);
        ASSERT_TRUE(killed.Started());
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(moment(random)));
        killed.Kill();
        const int status = killed.Wait();
        if (WIFEXITED(status)) {
            ++finished;
            double& usual = usualMs[i % kKinds];
            usual = 0.9 * usual + 0.1 * killed.DurationMs();
        }

        int temporaries = 0;
        const FolderState now = StateOf(victim, &temporaries);
        leftTemporaries = temporaries;
        for (const auto& [name, content] : now) {
            ASSERT_TRUE(IsJsonDocument(content)) << name << " after '" << Joined(command) << "'";
            const auto old = before.find(name);
            const auto fresh = after.find(name);
            const bool isOld = old != before.end() && old->second == content;
            const bool isNew = fresh != after.end() && fresh->second == content;
            ASSERT_TRUE(isOld || isNew)
                << name << " is neither version after '" << Joined(command) << "' was killed";
        }
        for (const auto& [name, content] : before) {
            ASSERT_TRUE(now.count(name) || !after.count(name))
                << name << " was lost when '" << Joined(command) << "' was killed";
        }
        leftAsBefore += now == before ? 1 : 0;
        leftAsAfter += now == after ? 1 : 0;
        leftMixed += now != before && now != after ? 1 : 0;
    }
    stress::Figure("kills", static_cast<long long>(kKills));
    stress::Figure("commands that changed nothing", unchanging);
    // A command killed before it saved leaves the next one of its kind to set what is set
    // already, now and then.
    EXPECT_LT(unchanging, kKills / 4) << "most commands replace files";
    stress::Figure("left as before the command", leftAsBefore);
    stress::Figure("left with some files replaced", leftMixed);
    stress::Figure("left as after the command", leftAsAfter);
    stress::Figure("finished before the kill", finished);
    stress::Figure("temporary files left by kills", leftTemporaries);
    stress::Figure("usual run ms, longest kind", *std::max_element(usualMs.begin(), usualMs.end()));
    watch.Report();
}

} // namespace
