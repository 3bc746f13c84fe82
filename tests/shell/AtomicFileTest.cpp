// Where vis_export, vis_snapshot, --snapshot, --frames and the s key may write, and what a write leaves.
#include "shell/AtomicFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/support/TempDir.h"

namespace {

const std::string kOld = "old,content\n";
const std::string kNew = "time,time_ms,value\n00:00:01:000,1000,0.444440\n";

// Every kind of target, the same for each case.
void prepare(const TempDir& dir) {
    ::chmod(dir.write("plain.csv", kOld).c_str(), 0644);
    ::chmod(dir.write("private.csv", kOld).c_str(), 0600);
    ::chmod(dir.write("ro.csv", kOld).c_str(), 0444);
    ::mkfifo(dir.file("fifo").c_str(), 0644);
    ::mkdir(dir.file("folder").c_str(), 0755);
    ::mkdir(dir.file("sub").c_str(), 0755);
    const char* const links[][2] = {{"../private.csv", "sub/up.csv"},
                                    {"sub/up.csv", "hop.csv"},
                                    {"made.csv", "dangling.csv"},
                                    {"fifo", "tofifo"},
                                    {"loop", "loop"}};
    for (const auto& link : links) {
        ::symlink(link[0], dir.file(link[1]).c_str());
    }
}

// Temporary files left behind in `folder`.
int strayFiles(const std::string& folder) {
    int stray = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            stray += std::string(entry->d_name).rfind(".tessaron-", 0) == 0 ? 1 : 0;
        }
        ::closedir(dir);
    }
    return stray;
}

TEST(AtomicFileTest, WritesOnlyWhereAPlainWriteWouldAndKeepsWhatItReplaces) {
    const mode_t previousMask = ::umask(022);
    const std::string name252 = std::string(248, 'n') + ".csv";
    const struct {
        std::string written;  // the name given to the writer
        const char* error;    // "" when it is written
        std::string checked;  // what is then looked at, through links
        mode_t mode;          // its type and permissions afterwards; 0 for nothing there
    } cases[] = {
        {"new.csv", "", "new.csv", S_IFREG | 0644},
        {"plain.csv", "", "plain.csv", S_IFREG | 0644},
        {"private.csv", "", "private.csv", S_IFREG | 0600},
        {"ro.csv", "Permission denied", "ro.csv", S_IFREG | 0444},
        {"fifo", "Not a regular file", "fifo", S_IFIFO | 0644},
        {"folder", "Is a directory", "folder", S_IFDIR | 0755},
        {"hop.csv", "", "private.csv", S_IFREG | 0600},  // a link to a relative link in another folder
        {"dangling.csv", "", "made.csv", S_IFREG | 0644},
        {"tofifo", "Not a regular file", "fifo", S_IFIFO | 0644},
        {"loop", "Too many levels of symbolic links", "loop", 0},
        {name252, "", name252, S_IFREG | 0644},
        {name252 + "four", "File name too long", name252 + "four", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        TempDir dir;
        prepare(dir);
        std::string error;
        EXPECT_EQ(*c.error == '\0', writeFileAtomically(dir.file(c.written), kNew, error));
        EXPECT_EQ(c.error, error);
        struct stat info;
        EXPECT_EQ(c.mode, ::stat(dir.file(c.checked).c_str(), &info) == 0 ? info.st_mode : 0);
        if (S_ISREG(c.mode)) {
            EXPECT_EQ(*c.error == '\0' ? kNew : kOld, readFile(dir.file(c.checked)));
        }
        if (c.written != c.checked) {
            EXPECT_EQ(0, ::lstat(dir.file(c.written).c_str(), &info));
            EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays";
        }
        EXPECT_EQ(0, strayFiles(dir.path()) + strayFiles(dir.file("sub")));
    }
    ::umask(previousMask);
}

}  // namespace
