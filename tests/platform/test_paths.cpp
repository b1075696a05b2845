// The user folder and the settings file follow the XDG base directory rules: an absolute
// $XDG_DATA_HOME / $XDG_CONFIG_HOME is taken, a relative one is ignored for the default under
// $HOME and never resolved against the working folder.

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

} // namespace
