// Whether a folder's files were written: a save through AtomicFile that keeps size and time
// still shows, reading does not, and files in sub-folders count.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/FolderStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using config::StampFolder;

class FolderStampTest : public test::ConfigFolder {
protected:
    // Gives the file the same modification time as before, to the nanosecond.
    void KeepTime(const std::string& name, const struct stat& before) {
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, Path(name).c_str(), times, 0), 0);
    }
};

TEST_F(FolderStampTest, EveryWriteShowsAndReadingDoesNot) {
    std::filesystem::create_directories(Path("Keyboard/Macro"));
    ASSERT_TRUE(config::ReplaceFileContent(Path("Keyboard/A.Json"), "{\"a\":1}"));
    ASSERT_TRUE(config::ReplaceFileContent(Path("Keyboard/Macro/m.mac"), "1"));
    const config::FolderStamp first = StampFolder(Folder().string());
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first.count("Keyboard/Macro/m.mac"), 1u);

    ReadText("Keyboard/A.Json");
    EXPECT_EQ(StampFolder(Folder().string()), first) << "reading changes nothing";

    // Same size, same time: the new inode of the replacement tells.
    struct stat before {};
    ASSERT_EQ(stat(Path("Keyboard/A.Json").c_str(), &before), 0);
    ASSERT_TRUE(config::ReplaceFileContent(Path("Keyboard/A.Json"), "{\"a\":2}"));
    KeepTime("Keyboard/A.Json", before);
    const config::FolderStamp replaced = StampFolder(Folder().string());
    EXPECT_NE(replaced, first);

    std::filesystem::remove(Path("Keyboard/Macro/m.mac"));
    EXPECT_NE(StampFolder(Folder().string()), replaced) << "a deleted file";
    EXPECT_TRUE(StampFolder(Path("missing")).empty());
}

} // namespace
