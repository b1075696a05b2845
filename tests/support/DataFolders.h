#pragma once
// A temporary user-data folder (XDG_DATA_HOME) and program-data folder (QUARIN_Z17_DATA_DIR)
// for one test, removed with everything in them afterwards. No Qt.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace test {

class DataFolders {
public:
    // Source: the program data is the source tree's data/. Own: an empty folder of the test's
    // own, with a DefaultData folder to put shipped documents into.
    enum class Program { Source, Own };

    explicit DataFolders(Program program = Program::Source) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarin-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "no temporary folder";
        m_root = pattern;
        std::filesystem::create_directories(UserData());
        if (program == Program::Own)
            std::filesystem::create_directories(ProgramData() / "DefaultData");
        ::setenv("XDG_DATA_HOME", UserData().c_str(), 1);
        ::setenv("QUARIN_Z17_DATA_DIR",
                 program == Program::Own ? ProgramData().c_str() : QUARIN_SOURCE_DATA_DIR, 1);
    }
    ~DataFolders() {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("QUARIN_Z17_DATA_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    DataFolders(const DataFolders&) = delete;
    DataFolders& operator=(const DataFolders&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path UserData() const { return m_root / "data"; }
    std::filesystem::path ProgramData() const { return m_root / "program"; }
    // Copies a document of the source tree's DefaultData into the test's own program folder.
    void CopyDefaultDocument(const std::string& name) const {
        std::filesystem::copy_file(std::filesystem::path(QUARIN_SOURCE_DATA_DIR) / "DefaultData" /
                                       name,
                                   ProgramData() / "DefaultData" / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path m_root;
};

} // namespace test
