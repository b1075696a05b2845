#pragma once
// A private temporary folder for the file tests, removed with everything in it afterwards.

#include "config/JsonFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <json/reader.h>
#include <set>
#include <sstream>
#include <string>

namespace test {

class ConfigFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "quarin-config-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    std::wstring WidePath(const std::string& name) const { return config::Utf8ToWide(Path(name)); }
    const std::filesystem::path& Folder() const { return m_folder; }

    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string ReadText(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_folder;
};

// Parses JSON text written in a test; fails the test on a typo in it.
inline Json::Value Parse(const std::string& text) {
    Json::Value value;
    EXPECT_TRUE(Json::Reader().parse(text, value)) << text;
    return value;
}

} // namespace test
