// The commands the running configurator runs for quarin-z17ctl: the command line checked as the
// ctl checks it, FILE words that must be absolute there, and the worker thread that runs them
// one at a time.

#include "ctl/CommandLine.h"
#include "ctl/CommandWorker.h"
#include "ctl/RunningProgram.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

using Words = std::vector<std::string>;

Json::Value Parse(const std::string& text) {
    Json::Value document;
    std::istringstream in(text);
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &document, &errors)) << text;
    return document;
}

TEST(CtlCommandLine, WordsThatMakeNoCommandGetTheCtlsUsageMessage) {
    EXPECT_EQ(ctl::CheckCommandWords({}), "no command given");
    EXPECT_EQ(ctl::CheckCommandWords({"frob"}), "unknown command 'frob'");
    EXPECT_EQ(ctl::CheckCommandWords({"--demo", "devices"}), "unknown option '--demo'");
    EXPECT_EQ(ctl::CheckCommandWords({"info", "-x"}), "unknown option '-x'");
    EXPECT_EQ(ctl::CheckCommandWords({"devices", "now"}), "'devices' takes no arguments");
    EXPECT_EQ(ctl::CheckCommandWords({"info"}),
              "'info' takes one KIND: keyboard, mouse or mousepad");
    // Commands with options of their own check them when they run.
    EXPECT_EQ(ctl::CheckCommandWords({"light", "keyboard", "--mode", "3"}), std::nullopt);
    EXPECT_EQ(ctl::CheckCommandWords({"macro", "delete", "keyboard", "0", "--shift"}),
              std::nullopt);
    EXPECT_EQ(ctl::CheckCommandWords({"info", "keyboard"}), std::nullopt);
}

TEST(CtlCommandLine, OnlyTheFileWordsOfTheFileCommandsAreMadeAbsolute) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(ctl::AbsoluteFileWords({"profile", "export", "keyboard", "out.json"})[3],
              here + "/out.json");
    EXPECT_EQ(ctl::AbsoluteFileWords({"macro", "export", "mouse", "0", "sub/m.mac"})[4],
              here + "/sub/m.mac");
    EXPECT_EQ(ctl::AbsoluteFileWords({"macro", "import", "keyboard", "/tmp/m.mac"})[3],
              "/tmp/m.mac");
    // A profile name or a macro's index is no file.
    EXPECT_EQ(ctl::AbsoluteFileWords({"profile", "rename", "keyboard", "x"})[3], "x");
    EXPECT_EQ(ctl::AbsoluteFileWords({"macro", "rename", "keyboard", "0", "x"})[4], "x");
}

class ForwardedCommand : public ::testing::Test {
protected:
    ctl::CapturedRun Run(const Words& args, bool json = false) {
        return ctl::RunForwardedCommand(backend, args, json, {});
    }
    test::DataFolders folders;
    sim::VirtualHidBackend backend;
};

TEST_F(ForwardedCommand, RunsTheCommandWithItsOutputCaught) {
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    ASSERT_TRUE(backend.Plug(pad));
    const ctl::CapturedRun devices = Run({"devices"});
    EXPECT_EQ(devices.exitCode, 0);
    EXPECT_EQ(devices.out, "8\tmousepad\tcommand\t320f:1004\t" + pad->CommandPath() +
                               "\n9\tmousepad\tevent\t320f:1004\t" + pad->NotificationPath() +
                               "\n");
    EXPECT_EQ(devices.err, "");

    const ctl::CapturedRun missing = Run({"info", "keyboard"}, true);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quarin-z17ctl: no keyboard is connected\n");
    EXPECT_EQ(Parse(missing.out)["error"], "no keyboard is connected");
}

TEST_F(ForwardedCommand, AnArgumentListThatIsNoCommandLineRunsNothing) {
    const ctl::CapturedRun unknown = Run({"frob"}, true);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "quarin-z17ctl: unknown command 'frob'\nTry 'quarin-z17ctl --help'.\n");
    EXPECT_EQ(Parse(unknown.out)["command"], "frob");
    EXPECT_EQ(Run({}).exitCode, 2);
    EXPECT_EQ(Run({"devices", "--json"}).exitCode, 2);
}

TEST_F(ForwardedCommand, AFileMustBeAnAbsolutePath) {
    const ctl::CapturedRun relative = Run({"profile", "export", "keyboard", "out.json"}, true);
    EXPECT_EQ(relative.exitCode, 2);
    EXPECT_NE(relative.err.find("FILE must be an absolute path"), std::string::npos);
    EXPECT_EQ(Parse(relative.out)["command"], "profile export");
    EXPECT_FALSE(std::filesystem::exists("out.json"));

    const std::string absolute = folders.UserData().string() + "/out.json";
    const ctl::CapturedRun exported = Run({"profile", "export", "keyboard", absolute});
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_TRUE(std::filesystem::exists(absolute));
}

// A command that runs until the test lets it end, and the order the commands ran in.
class Gate {
public:
    ctl::CapturedRun Run(const Words& args) {
        std::unique_lock lock(m_mutex);
        m_ran.push_back(args[0]);
        m_threads.push_back(std::this_thread::get_id());
        ++m_running;
        m_maxRunning = std::max(m_maxRunning, m_running);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_open; });
        --m_running;
        return {static_cast<int>(m_ran.size()), args[0], ""};
    }
    void WaitForStarted(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_ran.size() >= count; });
    }
    void Open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_running = 0;
    int m_maxRunning = 0;
    Words m_ran;
    std::vector<std::thread::id> m_threads;
};

// What a command's caller was answered.
struct Answers {
    void Add(std::optional<ctl::CapturedRun> run) {
        const std::lock_guard lock(mutex);
        runs.push_back(std::move(run));
        changed.notify_all();
    }
    void WaitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return runs.size() >= count; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<ctl::CapturedRun>> runs;
};

TEST(CommandWorker, RunsTheCommandsOneAtATimeInOrderOffTheCallersThread) {
    Gate gate;
    Answers answers;
    {
        ctl::CommandWorker worker([&](const Words& args, bool) { return gate.Run(args); });
        for (const char* word : {"first", "second", "third"})
            worker.Post({word}, false,
                        [&](std::optional<ctl::CapturedRun> run) { answers.Add(std::move(run)); });
        gate.WaitForStarted(1);
        EXPECT_TRUE(answers.runs.empty()) << "the caller is answered when its command ends";
        gate.Open();
        answers.WaitFor(3);
    }
    EXPECT_EQ(gate.m_ran, (Words{"first", "second", "third"}));
    EXPECT_EQ(gate.m_maxRunning, 1);
    EXPECT_NE(gate.m_threads[0], std::this_thread::get_id());
    EXPECT_EQ(gate.m_threads[0], gate.m_threads[2]);
    ASSERT_TRUE(answers.runs[1]);
    EXPECT_EQ(answers.runs[1]->out, "second");
}

TEST(CommandWorker, ClosingEndsTheRunningCommandAndAnswersTheWaitingOnesWithNothing) {
    Gate gate;
    Answers answers;
    auto worker = std::make_unique<ctl::CommandWorker>(
        [&](const Words& args, bool) { return gate.Run(args); });
    auto answer = [&](std::optional<ctl::CapturedRun> run) { answers.Add(std::move(run)); };
    worker->Post({"running"}, false, answer);
    worker->Post({"waiting"}, false, answer);
    gate.WaitForStarted(1);
    worker->Close();
    worker->Post({"late"}, false, answer);
    gate.Open();
    worker.reset();
    ASSERT_EQ(answers.runs.size(), 3u);
    // The late one is answered at once, before the running one ends.
    EXPECT_FALSE(answers.runs[0]);
    ASSERT_TRUE(answers.runs[1]);
    EXPECT_EQ(answers.runs[1]->out, "running");
    EXPECT_FALSE(answers.runs[2]);
    EXPECT_EQ(gate.m_ran, Words{"running"});
}

TEST(CommandWorker, HeldCommandsWaitForEveryHolderAndAHoldNobodyReleasesLapses) {
    Gate gate;
    gate.Open();
    Answers answers;
    auto answer = [&](std::optional<ctl::CapturedRun> run) { answers.Add(std::move(run)); };
    {
        ctl::CommandWorker worker([&](const Words& args, bool) { return gate.Run(args); });
        int window = 0;
        int keyboard = 0;
        worker.Hold(&window);
        worker.Hold(&keyboard);
        worker.Post({"first"}, false, answer);
        worker.Post({"second"}, false, answer);
        worker.Release(&window);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_TRUE(answers.runs.empty()) << "ran while the keyboard still held the commands";
        worker.Release(&keyboard);
        worker.Release(&keyboard); // a second release of one hold frees nothing more
        answers.WaitFor(2);
    }
    EXPECT_EQ(gate.m_ran, (Words{"first", "second"}));

    const auto lapse = std::chrono::milliseconds(200);
    ctl::CommandWorker worker([&](const Words& args, bool) { return gate.Run(args); }, lapse);
    int forgetful = 0;
    worker.Hold(&forgetful);
    const auto posted = std::chrono::steady_clock::now();
    worker.Post({"third"}, false, answer);
    answers.WaitFor(3);
    EXPECT_GE(std::chrono::steady_clock::now() - posted, lapse);
}

TEST(CommandWorker, ClosingWhileHeldAnswersTheWaitingCommandsWithNothing) {
    Gate gate;
    Answers answers;
    auto worker = std::make_unique<ctl::CommandWorker>(
        [&](const Words& args, bool) { return gate.Run(args); });
    int holder = 0;
    worker->Hold(&holder);
    worker->Post({"held"}, false,
                 [&](std::optional<ctl::CapturedRun> run) { answers.Add(std::move(run)); });
    worker.reset();
    ASSERT_EQ(answers.runs.size(), 1u);
    EXPECT_FALSE(answers.runs[0]);
    EXPECT_TRUE(gate.m_ran.empty());
}

} // namespace
