// The login entry: written from the shipped template with the program's own path (quoted as a
// desktop entry wants), seen as off when the desktop switched it off, removed again, and
// never half-written when its folder cannot take it.

#include "platform/Autostart.h"
#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// Points XDG_CONFIG_HOME at a fresh folder for one test.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = (fs::temp_directory_path() / "quarin-autostart-XXXXXX").string();
        ASSERT_NE(mkdtemp(root.data()), nullptr);
        ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        shipped = platform::ProgramDataFolderFor("") + platform::kAutostartTemplate;
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root);
    }
    std::string Entry() const { return Read(platform::AutostartFile()); }

    std::string root;
    std::string shipped;
};

TEST_F(AutostartTest, SwitchingOnWritesTheTemplateWithTheProgramAndOffRemovesIt) {
    EXPECT_EQ(platform::AutostartFile(), root + "/config/autostart/quarin-z17.desktop");
    EXPECT_FALSE(platform::IsAutostartOn());

    ASSERT_TRUE(platform::SetAutostart(true, shipped, "/opt/quarin/bin/quarin-z17"));
    EXPECT_TRUE(platform::IsAutostartOn());
    const std::string entry = Entry();
    EXPECT_NE(entry.find("\nExec=/opt/quarin/bin/quarin-z17 --hidden\n"), std::string::npos)
        << entry;
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u) << entry;
    EXPECT_NE(entry.find("\nIcon=quarin-z17\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(platform::AutostartFile() + ".new")) << "no temporary file is left";

    ASSERT_TRUE(platform::SetAutostart(false, shipped, "/opt/quarin/bin/quarin-z17"));
    EXPECT_FALSE(platform::IsAutostartOn());
    EXPECT_FALSE(fs::exists(platform::AutostartFile()));
    EXPECT_TRUE(platform::SetAutostart(false, shipped, "")) << "already off";
}

TEST_F(AutostartTest, AnEntryTheDesktopSwitchedOffCountsAsOffAndSwitchingOnRewritesIt) {
    fs::create_directories(root + "/config/autostart");
    Write(platform::AutostartFile(), "[Desktop Entry]\nExec=quarin-z17 --hidden\nHidden=true\n");
    EXPECT_FALSE(platform::IsAutostartOn());
    Write(platform::AutostartFile(),
          "[Desktop Entry]\nExec=quarin-z17 --hidden\nX-GNOME-Autostart-enabled=false\r\n");
    EXPECT_FALSE(platform::IsAutostartOn());

    ASSERT_TRUE(platform::SetAutostart(true, shipped, ""));
    EXPECT_TRUE(platform::IsAutostartOn());
    EXPECT_EQ(Entry(), Read(shipped)) << "without a program the template's own Exec stays";
}

TEST_F(AutostartTest, AProgramPathWithReservedCharactersIsQuotedAndEscaped) {
    EXPECT_EQ(platform::ExecArgument("/usr/bin/quarin-z17"), "/usr/bin/quarin-z17");
    EXPECT_EQ(platform::ExecArgument("/home/ann/My Tools/quarin-z17"),
              "\"/home/ann/My Tools/quarin-z17\"");
    EXPECT_EQ(platform::ExecArgument("/opt/100%/q"), "/opt/100%%/q");
    EXPECT_EQ(platform::ExecArgument("/opt/$x/a\"b"), "\"/opt/\\\\$x/a\\\\\"b\"");
    EXPECT_EQ(platform::ExecArgument("/opt/a\\b"), "\"/opt/a\\\\\\\\b\"");

    EXPECT_EQ(platform::AutostartEntry("[Desktop Entry]\nExec=quarin-z17 --hidden\n",
                                       "/home/ann/My Tools/quarin-z17"),
              "[Desktop Entry]\nExec=\"/home/ann/My Tools/quarin-z17\" --hidden\n");
    EXPECT_EQ(platform::AutostartEntry("[Desktop Entry]\nName=x\n", "/usr/bin/quarin-z17"), "")
        << "a template without Exec gives nothing";
}

TEST_F(AutostartTest, AMissingTemplateOrAFolderThatRefusesTheEntryLeavesNothing) {
    EXPECT_FALSE(platform::SetAutostart(true, root + "/missing.desktop", "/usr/bin/quarin-z17"));
    EXPECT_FALSE(fs::exists(platform::AutostartFile()));
    EXPECT_FALSE(platform::SetAutostart(true, shipped, "/usr/bin/quarin\nExec=rm"));
    EXPECT_FALSE(fs::exists(platform::AutostartFile())) << "a line break cannot be written";

    // "autostart" is a file here, so the entry cannot be made (not even by root).
    fs::create_directories(root + "/config");
    Write(root + "/config/autostart", "not a folder");
    EXPECT_FALSE(platform::SetAutostart(true, shipped, "/usr/bin/quarin-z17"));
    EXPECT_FALSE(platform::IsAutostartOn());
    EXPECT_EQ(Read(root + "/config/autostart"), "not a folder");
    EXPECT_FALSE(fs::exists(root + "/config/autostart/quarin-z17.desktop.new"));
}

TEST(AutostartFolder, FollowsHomeWhenXdgConfigHomeIsUnsetAndIsEmptyWithoutEither) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(platform::AutostartFile(), "/home/ann/.config/autostart/quarin-z17.desktop");
    ::unsetenv("HOME");
    EXPECT_EQ(platform::AutostartFile(), "");
    EXPECT_FALSE(platform::SetAutostart(true));
    if (home)
        ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
