// Where vis_export, vis_snapshot, --snapshot, --frames and the s key may write, and what a write leaves.
#include "shell/AtomicFile.h"

#include <glob.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/TempDir.h"

namespace {

TEST(AtomicFileTest, WritesOnlyWhereAPlainWriteWouldAndKeepsWhatItReplaces) {
    const mode_t previousMask = ::umask(022);
    const std::string name252 = std::string(248, 'n') + ".csv";
    const struct {
        std::string written;  // the name given to the writer
        const char* error;    // "" when it is written
        std::string checked;  // what is then looked at, through links
        mode_t mode;          // its type and permissions afterwards
    } cases[] = {
        {"ro.csv", "Permission denied", "ro.csv", S_IFREG | 0444},
        {"fifo", "Not a regular file", "fifo", S_IFIFO | 0644},
        {"hop.csv", "", "private.csv", S_IFREG | 0600},  // via a relative link elsewhere; keeps 0600
        {name252, "", name252, S_IFREG | 0644},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        TempDir dir;
        ::chmod(dir.write("private.csv", "old\n").c_str(), 0600);
        ::chmod(dir.write("ro.csv", "old\n").c_str(), 0444);
        ::mkfifo(dir.file("fifo").c_str(), 0644);
        ::mkdir(dir.file("sub").c_str(), 0755);
        ::symlink("../private.csv", dir.file("sub/up.csv").c_str());
        ::symlink("sub/up.csv", dir.file("hop.csv").c_str());
        std::string error;
        EXPECT_EQ(*c.error == '\0', writeFileAtomically(dir.file(c.written), "new\n", error));
        EXPECT_EQ(c.error, error);
        struct stat info;
        EXPECT_EQ(c.mode, ::stat(dir.file(c.checked).c_str(), &info) == 0 ? info.st_mode : 0);
        if (S_ISREG(c.mode)) {
            EXPECT_EQ(*c.error == '\0' ? "new\n" : "old\n", readFile(dir.file(c.checked)));
        }
        glob_t stray;  // hidden files: a temporary one left behind
        EXPECT_EQ(GLOB_NOMATCH, ::glob((dir.path() + "/.[!.]*").c_str(), 0, nullptr, &stray));
        ::globfree(&stray);
    }
    ::umask(previousMask);
}

}  // namespace
