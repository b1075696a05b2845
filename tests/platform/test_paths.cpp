// The user folder and the settings file follow the XDG base directory rules: an absolute
// $XDG_DATA_HOME / $XDG_CONFIG_HOME is taken, a relative one is ignored for the default under
// $HOME and never resolved against the working folder.

#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Sets a variable for the test's duration, unsetting it for nullptr.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quarin-paths-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "home");
        fs::create_directories(m_root / "work");
        m_oldWork = fs::current_path();
        fs::current_path(m_root / "work");
    }
    void TearDown() override {
        fs::current_path(m_oldWork);
        fs::remove_all(m_root);
    }
    fs::path m_root;
    fs::path m_oldWork;
};

TEST_F(PathsTest, RelativeXdgFoldersAreIgnored) {
    const std::string home = (m_root / "home").string();
    const ScopedVariable homeVariable("HOME", home.c_str());
    const ScopedVariable data("XDG_DATA_HOME", "data");
    const ScopedVariable config("XDG_CONFIG_HOME", "./config");

    EXPECT_EQ(platform::UserFolder(), home + "/.local/share/QUARIN Z17 Keyboard/");
    EXPECT_EQ(platform::SettingsFile(),
              home + "/.config/QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf");
    EXPECT_TRUE(fs::is_empty(m_root / "work")) << "nothing is made in the working folder";

    const ScopedVariable noHome("HOME", nullptr);
    EXPECT_EQ(platform::UserFolder(), "");
    EXPECT_EQ(platform::SettingsFile(), "");
}

TEST_F(PathsTest, AbsoluteXdgFoldersAreTaken) {
    const std::string data = (m_root / "data").string();
    const std::string config = (m_root / "config").string();
    const ScopedVariable dataVariable("XDG_DATA_HOME", data.c_str());
    const ScopedVariable configVariable("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(platform::UserFolder(), data + "/QUARIN Z17 Keyboard/");
    EXPECT_TRUE(fs::is_directory(data + "/QUARIN Z17 Keyboard"));
    EXPECT_EQ(platform::SettingsFile(), config + "/QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf");
}

} // namespace
