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

void file(const TempDir& dir, const char* name, mode_t mode) {
    dir.write(name, kOld);
    ::chmod(dir.file(name).c_str(), mode);
}

void link(const TempDir& dir, const char* to, const char* name) {
    ASSERT_EQ(0, ::symlink(to, dir.file(name).c_str()));
}

// What the folder holds besides what a case made: a temporary file left behind.
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

struct Target {
    const char* what;
    void (*prepare)(const TempDir& dir);
    std::string written;         // the name given to the writer
    const char* error;           // "" when it is written
    std::string checked;         // what is then looked at, through links
    const std::string* content;  // for a regular file
    mode_t mode;                 // its type and permissions afterwards; 0 for nothing there
};

TEST(AtomicFileTest, WritesOnlyWhereAPlainWriteWouldAndKeepsWhatItReplaces) {
    const mode_t previousMask = ::umask(022);
    const std::string longName = std::string(248, 'n') + ".csv";
    const Target targets[] = {
        {"a new file", [](const TempDir&) {}, "new.csv", "", "new.csv", &kNew, S_IFREG | 0644},
        {"a file of the usual permissions", [](const TempDir& d) { file(d, "a.csv", 0644); }, "a.csv", "",
         "a.csv", &kNew, S_IFREG | 0644},
        {"a private file stays private", [](const TempDir& d) { file(d, "p.csv", 0600); }, "p.csv", "",
         "p.csv", &kNew, S_IFREG | 0600},
        {"odd permissions stay", [](const TempDir& d) { file(d, "x.csv", 0751); }, "x.csv", "", "x.csv",
         &kNew, S_IFREG | 0751},
        {"a read-only file", [](const TempDir& d) { file(d, "ro.csv", 0444); }, "ro.csv", "Permission denied",
         "ro.csv", &kOld, S_IFREG | 0444},
        {"a file only its owner could have read", [](const TempDir& d) { file(d, "r.csv", 0400); }, "r.csv",
         "Permission denied", "r.csv", &kOld, S_IFREG | 0400},
        {"a FIFO", [](const TempDir& d) { ::mkfifo(d.file("fifo").c_str(), 0644); }, "fifo",
         "Not a regular file", "fifo", nullptr, S_IFIFO | 0644},
        {"a folder", [](const TempDir& d) { ::mkdir(d.file("folder").c_str(), 0755); }, "folder",
         "Is a directory", "folder", nullptr, S_IFDIR | 0755},
        {"a link to a private file",
         [](const TempDir& d) {
             file(d, "real.csv", 0600);
             link(d, "real.csv", "link.csv");
         },
         "link.csv", "", "real.csv", &kNew, S_IFREG | 0600},
        {"a relative link from another folder, through a link to it",
         [](const TempDir& d) {
             ::mkdir(d.file("sub").c_str(), 0755);
             file(d, "real.csv", 0640);
             link(d, "../real.csv", "sub/up.csv");
             link(d, "sub/up.csv", "hop.csv");
         },
         "hop.csv", "", "real.csv", &kNew, S_IFREG | 0640},
        {"a link to nothing yet", [](const TempDir& d) { link(d, "made.csv", "dangling.csv"); },
         "dangling.csv", "", "made.csv", &kNew, S_IFREG | 0644},
        {"a link to a read-only file",
         [](const TempDir& d) {
             file(d, "ro.csv", 0444);
             link(d, "ro.csv", "link.csv");
         },
         "link.csv", "Permission denied", "ro.csv", &kOld, S_IFREG | 0444},
        {"a link to a FIFO",
         [](const TempDir& d) {
             ::mkfifo(d.file("fifo").c_str(), 0644);
             link(d, "fifo", "link");
         },
         "link", "Not a regular file", "fifo", nullptr, S_IFIFO | 0644},
        {"a link to itself", [](const TempDir& d) { link(d, "loop", "loop"); }, "loop",
         "Too many levels of symbolic links", "loop", nullptr, 0},
        {"a name of 252 characters", [](const TempDir&) {}, longName, "", longName, &kNew, S_IFREG | 0644},
        {"a name of 255 characters", [](const TempDir&) {}, longName + "xyz", "", longName + "xyz", &kNew,
         S_IFREG | 0644},
        {"a name of 256 characters", [](const TempDir&) {}, longName + "wxyz", "File name too long",
         "missing", nullptr, 0},
        {"a missing folder", [](const TempDir&) {}, "none/a.csv", "No such file or directory", "none",
         nullptr, 0},
        {"a file taken for a folder", [](const TempDir& d) { file(d, "f", 0644); }, "f/a.csv",
         "Not a directory", "f", &kOld, S_IFREG | 0644},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.what);
        TempDir dir;
        t.prepare(dir);
        std::string error;
        EXPECT_EQ(*t.error == '\0', writeFileAtomically(dir.file(t.written), kNew, error));
        EXPECT_EQ(t.error, error);
        struct stat info;
        EXPECT_EQ(t.mode, ::stat(dir.file(t.checked).c_str(), &info) == 0 ? info.st_mode : 0);
        if (t.content != nullptr) {
            EXPECT_EQ(*t.content, readFile(dir.file(t.checked)));
        }
        EXPECT_EQ(0, strayFiles(dir.path()) + strayFiles(dir.file("sub")));
    }
    // A link written through stays a link.
    TempDir dir;
    file(dir, "real.csv", 0644);
    link(dir, "real.csv", "link.csv");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir.file("link.csv"), kNew, error)) << error;
    struct stat info;
    ASSERT_EQ(0, ::lstat(dir.file("link.csv").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ::umask(previousMask);
}

}  // namespace
