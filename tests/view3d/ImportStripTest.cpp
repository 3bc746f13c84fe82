// The strip during an import: the bar's filled part and the text that fits.
#include "view3d/VDImportStrip.h"

#include <gtest/gtest.h>

#include <string>

namespace {

VCImportProgress progressOf(const std::string& file, uint64_t read, uint64_t size, long long lines) {
    VCImportProgress progress;
    progress.fileName = file;
    progress.bytesRead = read;
    progress.fileSize = size;
    progress.lines = lines;
    return progress;
}

TEST(ImportStripTest, TheBarFillsAsTheFileIsRead) {
    const VDRect strip(0, 560, 600, 600);
    const VDImportStrip start(strip, progressOf("a.log", 0, 1000, 0));
    const VDRect bar = start.barRectangle();
    EXPECT_EQ(5.0f, bar.getX1());
    EXPECT_EQ(595.0f, bar.getX2());
    EXPECT_EQ(565.0f, bar.getY1());
    EXPECT_EQ(595.0f, bar.getY2());
    EXPECT_EQ(0.0f, start.filledRectangle().getWidth());
    EXPECT_EQ(300.0f, VDImportStrip(strip, progressOf("a.log", 500, 1000, 5)).filledRectangle().getX2());
    EXPECT_EQ(bar.getX2(),
              VDImportStrip(strip, progressOf("a.log", 1000, 1000, 9)).filledRectangle().getX2());
}

TEST(ImportStripTest, ALongPathGivesWayFromItsStartAndTheNumbersStay) {
    const VDRect strip(0, 560, 600, 600);
    const std::string path = "/home/someone/simulations/2024/very/deep/folder/run_with_a_long_name.log";
    const VDImportStrip strip43(strip, progressOf(path, 43, 100, 540000));
    const std::string full = "Importing " + path + ": 43 % (540,000 lines)";
    EXPECT_EQ(full, strip43.fittedText(200));
    EXPECT_EQ(full, strip43.fittedText(static_cast<int>(full.size())));

    EXPECT_EQ("Importing .../run_with_a_long_name.log: 43 % (540,000 lines)", strip43.fittedText(60));
    // Room for the numbers alone: the name goes altogether.
    EXPECT_EQ("Importing ...: 43 % (540,000 lines)", strip43.fittedText(20));

    // Counted in characters: the path's 31 (33 bytes) and the text's 63 fit in 63 places; in 50, the name
    // keeps its last 15 characters whole.
    const std::string accented = "/data/Übung/température/run.log";
    const VDImportStrip strip43b(strip, progressOf(accented, 43, 100, 540000));
    EXPECT_EQ("Importing " + accented + ": 43 % (540,000 lines)", strip43b.fittedText(63));
    EXPECT_EQ("Importing ...érature/run.log: 43 % (540,000 lines)", strip43b.fittedText(50));
}

}  // namespace
