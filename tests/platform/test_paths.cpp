// The user folder and the settings file follow the XDG base directory rules: an absolute
// $XDG_DATA_HOME / $XDG_CONFIG_HOME is taken, a relative one is ignored for the default under
// $HOME and never resolved against the working folder. The program data is found where the
// install rules put it beside the program.

#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(Paths, RelativeXdgFoldersAreIgnoredAndAbsoluteOnesTaken) {
    std::string root = (fs::temp_directory_path() / "quarin-paths-XXXXXX").string();
    ASSERT_NE(mkdtemp(root.data()), nullptr);
    const fs::path work = fs::current_path();
    fs::current_path(root);
    ::setenv("HOME", (root + "/home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", "data", 1);
    ::setenv("XDG_CONFIG_HOME", "./config", 1);
    EXPECT_EQ(platform::UserFolder(), root + "/home/.local/share/QUARIN Z17 Keyboard/");
    EXPECT_EQ(platform::SettingsFile(),
              root + "/home/.config/QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf");
    EXPECT_FALSE(fs::exists(root + "/data")) << "nothing is made in the working folder";

    ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    EXPECT_EQ(platform::UserFolder(), root + "/data/QUARIN Z17 Keyboard/");
    EXPECT_EQ(platform::SettingsFile(),
              root + "/config/QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf");

    fs::current_path(work);
    fs::remove_all(root);
}

// An installed tree as `cmake --install` lays it out: <prefix>/bin/quarin-z17 and
// <prefix>/share/quarin-z17/skin/.
TEST(Paths, TheInstalledProgramFindsItsDataInTheShareFolderBesideIt) {
    std::string root = (fs::temp_directory_path() / "quarin-prefix-XXXXXX").string();
    ASSERT_NE(mkdtemp(root.data()), nullptr);
    fs::create_directories(root + "/bin");
    const std::string program = root + "/bin/quarin-z17";
    const std::string source = platform::ProgramDataFolderFor("");
    EXPECT_EQ(source.back(), '/');
    EXPECT_TRUE(fs::is_directory(source + "skin")) << "the source tree's data: " << source;
    EXPECT_EQ(platform::ProgramDataFolderFor(program), source)
        << "without an installed skin the source tree's data is used";

    fs::create_directories(root + "/share/quarin-z17/skin");
    EXPECT_EQ(platform::ProgramDataFolderFor(program), root + "/share/quarin-z17/");

    ::unsetenv("QUARIN_Z17_DATA_DIR");
    EXPECT_FALSE(platform::RunningProgram().empty());
    EXPECT_EQ(platform::ProgramDataFolder(),
              platform::ProgramDataFolderFor(platform::RunningProgram()));
    ::setenv("QUARIN_Z17_DATA_DIR", (root + "/elsewhere").c_str(), 1);
    EXPECT_EQ(platform::ProgramDataFolder(), root + "/elsewhere/") << "the variable comes first";
    ::unsetenv("QUARIN_Z17_DATA_DIR");
    fs::remove_all(root);
}

} // namespace
