// A file replacement leaves the old content or the new one, never anything in between: not
// after a failure half way, and not when the writing process is killed at any moment.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/KeyboardProfiledata.h"

#include <csignal>
#include <random>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace config;

namespace {

class AtomicWriteTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        WriteText("profile.Json", kOld);
    }
    // Checks the outcome of a failed replacement.
    void ExpectUntouched() {
        EXPECT_EQ(ReadText("profile.Json"), kOld);
        EXPECT_EQ(Entries(), std::set<std::string>{"profile.Json"});
    }
    static constexpr const char* kOld = "{ \"profilename\" : \"old\" }\n";
    const std::string m_new = std::string(100000, ' ') + "{}";
};

TEST_F(AtomicWriteTest, InjectedFailuresLeaveTheOldFileAndNoTemporaryFile) {
    enum Stage { kWriteHalfWay, kFsync, kRename };
    for (Stage stage : {kWriteHalfWay, kFsync, kRename}) {
        FileCalls calls = FileCalls::System();
        size_t written = 0;
        if (stage == kWriteHalfWay) {
            calls.write = [&](int fd, const void* data, size_t size) -> ssize_t {
                if (written >= m_new.size() / 2) {
                    errno = ENOSPC;
                    return -1;
                }
                const ssize_t n = ::write(fd, data, std::min<size_t>(size, 4096));
                written += n;
                return n;
            };
        } else if (stage == kFsync) {
            calls.fsync = [](int) { return errno = EIO, -1; };
        } else {
            calls.rename = [](const char*, const char*) { return errno = EXDEV, -1; };
        }
        EXPECT_FALSE(ReplaceFileContent(Path("profile.Json"), m_new, calls)) << stage;
        ExpectUntouched();
    }
}

TEST_F(AtomicWriteTest, FailedSaveOfAProfileKeepsTheFile) {
    FileCalls calls = FileCalls::System();
    calls.write = [](int fd, const void* data, size_t size) -> ssize_t {
        if (size < 8)
            return errno = ENOSPC, -1;
        return ::write(fd, data, size / 2);
    };
    const ScopedFileCalls failing(calls);
    CKeyboardProfiledata profile;
    profile.SetProfilePath(WidePath("profile.Json"));
    profile.WriteLightInfo({.selectItem = 3});
    EXPECT_FALSE(profile.SaveProfile());
    ExpectUntouched();
}

TEST_F(AtomicWriteTest, FailuresOfTheRealFileSystemAreReportedCleanly) {
    std::filesystem::create_directory(Folder() / "folder");
    EXPECT_FALSE(ReplaceFileContent(Path("folder"), m_new));
    EXPECT_TRUE(std::filesystem::is_directory(Folder() / "folder"));
    EXPECT_FALSE(ReplaceFileContent(Path("missing/profile.Json"), m_new));
    EXPECT_FALSE(ReplaceFileContent(Folder().string() + "/", m_new));
    EXPECT_FALSE(ReplaceFileContent("", m_new));
    EXPECT_EQ(Entries(), (std::set<std::string>{"folder", "profile.Json"}));
}

TEST_F(AtomicWriteTest, ShortAndInterruptedWritesStillWriteEverything) {
    FileCalls calls = FileCalls::System();
    bool interrupt = false;
    calls.write = [&](int fd, const void* data, size_t size) -> ssize_t {
        if ((interrupt = !interrupt))
            return errno = EINTR, -1;
        return ::write(fd, data, std::min<size_t>(size, 7));
    };
    ::chmod(Path("profile.Json").c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContent(Path("profile.Json"), m_new, calls));
    EXPECT_EQ(ReadText("profile.Json"), m_new);
    EXPECT_EQ(Entries(), std::set<std::string>{"profile.Json"});
    struct stat info {};
    ::stat(Path("profile.Json").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// The child saves the profile over and over, alternating two key lists; the parent kills it
// at random moments. The profile stays whole; a killed save's temporary file goes with the
// next save, so at most the last one is left.
TEST_F(AtomicWriteTest, KilledSaverLeavesOneOfTheVersionsWritten) {
    std::vector<std::vector<KeyListEntry>> keyLists(2, std::vector<KeyListEntry>(3000));
    for (size_t i = 0; i < keyLists[1].size(); ++i)
        keyLists[1][i].current.code = {1, static_cast<std::uint8_t>(i), 3};
    std::vector<Json::Value> versions;
    for (const auto& keys : keyLists) {
        CKeyboardProfiledata profile;
        profile.WriteKeyList(keys);
        Json::Value document;
        document["profilename"] = "kill";
        document["Device"][0] = profile.DeviceRecord();
        versions.push_back(document);
    }
    const std::wstring path = WidePath("profile.Json");
    ASSERT_TRUE(WriteJsonFile(path, versions[0]));

    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        int saved[2];
        ASSERT_EQ(pipe(saved), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            // Small writes, as on a slow disk, so that many kills land inside a write.
            FileCalls calls = FileCalls::System();
            calls.write = [](int fd, const void* data, size_t size) {
                return ::write(fd, data, std::min<size_t>(size, 512));
            };
            const ScopedFileCalls slowDisk(calls);
            CKeyboardProfiledata profile;
            profile.SetProfilePath(path);
            profile.LoadProfile(path);
            for (size_t n = 1;; ++n) {
                profile.WriteKeyList(keyLists[n % 2]);
                profile.SaveProfile();
                [[maybe_unused]] ssize_t ignored = write(saved[1], "s", 1);
            }
        }
        close(saved[1]);
        char byte;
        ASSERT_EQ(read(saved[0], &byte, 1), 1) << "the saver never finished a save";
        usleep(std::uniform_int_distribution<useconds_t>(0, 12000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(saved[0]);
        ASSERT_TRUE(WIFSIGNALED(status));

        const Json::Value onDisk = ReadJsonFile(path);
        ASSERT_TRUE(onDisk == versions[0] || onDisk == versions[1]) << "round " << round;
    }
    EXPECT_LE(Entries().size(), 2u);
}

TEST_F(AtomicWriteTest, ASaveRemovesOnlyTheTemporariesOfProcessesThatAreGone) {
    const pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string dead = ".profile.Json.tmp-" + std::to_string(gone) + "-4";
    const std::string live = ".profile.Json.tmp-" + std::to_string(getppid()) + "-0";
    const std::string own = ".profile.Json.tmp-" + std::to_string(getpid()) + "-900";
    const std::string other = ".other.Json.tmp-" + std::to_string(gone) + "-1";
    for (const std::string& name : {dead, live, own, other})
        WriteText(name, "{");
    ASSERT_TRUE(ReplaceFileContent(Path("profile.Json"), "{}"));
    EXPECT_EQ(Entries(), (std::set<std::string>{"profile.Json", live, own, other}));
}

} // namespace
