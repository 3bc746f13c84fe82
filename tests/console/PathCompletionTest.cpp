#include "console/PathCompletion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "tests/support/TempDir.h"

namespace {

using Strings = std::vector<std::string>;

// runs/ holds: alpha.log, alpine.log, beta.log, .hidden.log, a folder "albums" and a name with a blank.
class PathCompletionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mkdir(dir.file("runs").c_str(), 0755);
        mkdir(dir.file("runs/albums").c_str(), 0755);
        for (const char* name : {"alpha.log", "alpine.log", "beta.log", ".hidden.log", "al bert.log"}) {
            dir.write(std::string("runs/") + name, "");
        }
    }
    TempDir dir{true};  // the current folder for relative paths
};

TEST_F(PathCompletionTest, OneCandidateCompletesWholeAndAFolderGetsASlash) {
    EXPECT_EQ("runs/beta.log", completePath("runs/b").completed);
    EXPECT_EQ("runs/", completePath("ru").completed);
    EXPECT_EQ("runs/", completePath("runs").completed);
    EXPECT_EQ("runs/albums/", completePath("runs/alb").completed);
    EXPECT_EQ(dir.file("runs/beta.log"), completePath(dir.file("runs/be")).completed) << "absolute paths";
    EXPECT_TRUE(completePath("runs/b").candidates.empty());
}

TEST_F(PathCompletionTest, SeveralCandidatesGiveTheSharedPartThenAreListed) {
    PathCompletion first = completePath("runs/a");
    EXPECT_EQ("runs/al", first.completed);
    EXPECT_TRUE(first.candidates.empty()) << "something was added: no listing yet";

    PathCompletion second = completePath("runs/al");
    EXPECT_EQ("runs/al", second.completed);
    EXPECT_EQ((Strings{"albums/", "alpha.log", "alpine.log"}), second.candidates)
        << "sorted, folders marked, the name with a blank left out";

    EXPECT_EQ("runs/alp", completePath("runs/alp").completed) << "alpha and alpine share nothing more";
    EXPECT_EQ((Strings{"alpha.log", "alpine.log"}), completePath("runs/alp").candidates);
}

TEST_F(PathCompletionTest, HiddenNamesOnlyWhenAskedForAndNothingForNoMatch) {
    EXPECT_EQ((Strings{"albums/", "alpha.log", "alpine.log", "beta.log"}), completePath("runs/").candidates);
    EXPECT_EQ("runs/.hidden.log", completePath("runs/.").completed);

    for (const char* partial : {"runs/z", "nowhere/a", "runs/beta.log/x"}) {
        PathCompletion none = completePath(partial);
        EXPECT_EQ(partial, none.completed);
        EXPECT_TRUE(none.candidates.empty()) << partial;
    }
    EXPECT_EQ("runs/beta.log", completePath("runs/beta.log").completed) << "complete already";
}

TEST_F(PathCompletionTest, TheParserCompletesFileArgumentsAndCommandNamesElsewhere) {
    VDDEVSConsoleParser parser;
    EXPECT_EQ("vis_import_logfile runs/beta.log", parser.completeLine("vis_import_logfile runs/b").line);
    EXPECT_EQ("vis_snapshot runs/", parser.completeLine("vis_snapshot r").line);

    VDLineCompletion listed = parser.completeLine("vis_snapshot runs/al");
    EXPECT_EQ("vis_snapshot runs/al", listed.line);
    EXPECT_EQ("File List:", listed.title);
    EXPECT_EQ((Strings{"albums/", "alpha.log", "alpine.log"}), listed.listing);

    // Not a file argument: two blanks, a second argument, another command.
    for (const char* line : {"vis_import_logfile  runs/b", "vis_snapshot a runs/b", "vis_new runs/b"}) {
        VDLineCompletion same = parser.completeLine(line);
        EXPECT_EQ(line, same.line);
        EXPECT_TRUE(same.listing.empty()) << line;
    }

    // Inside a quote, names with a blank too; a whole file name closes the quote.
    EXPECT_EQ("vis_import_logfile \"runs/al bert.log\"",
              parser.completeLine("vis_import_logfile \"runs/al ").line);
    EXPECT_EQ("vis_snapshot --window \"runs/", parser.completeLine("vis_snapshot --window \"ru").line);

    EXPECT_EQ("print", parser.completeLine("pr").line);
    VDLineCompletion names = parser.completeLine("cam_");
    EXPECT_EQ("cam_", names.line);
    EXPECT_EQ("Command List:", names.title);
    EXPECT_EQ((Strings{"cam_move", "cam_rotate"}), names.listing);
}

TEST_F(PathCompletionTest, ALongListingIsCutAndSaysHowManyMore) {
    mkdir(dir.file("many").c_str(), 0755);
    for (int i = 0; i < 130; ++i) {
        dir.write("many/f" + std::to_string(1000 + i), "");
    }
    VDLineCompletion listed = VDDEVSConsoleParser().completeLine("vis_import_logfile many/f1");
    ASSERT_EQ(VDDEVSConsoleParser::MAX_LISTED_FILES + 1, listed.listing.size());
    EXPECT_EQ("f1000", listed.listing.front());
    EXPECT_EQ("... and 30 more", listed.listing.back());
}

}  // namespace
