// Imports read in slices through a host: the same data as one import, progress, cancelling, refusals.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

struct HostCalls {
    int started = 0;
    int ended = 0;
};

// Notes what it is told; the test calls continueImport itself, as the program's loop would.
class RecordingHost : public VCImportHost {
  public:
    explicit RecordingHost(HostCalls& calls) : m_calls(calls) {}
    void importStarted() override { ++m_calls.started; }
    void importEnded() override { ++m_calls.ended; }

  private:
    HostCalls& m_calls;
};

// Everything an import leaves behind, as text: the model and event listings, and at the last event time
// the value of every cell.
Lines contents(VCSimulation& simulation) {
    Lines all;
    {
        LogRecorder rec;
        getVisualization()->getModelList()->printAll();
        getVisualization()->getEventList()->printAll();
        all = rec.lines();
    }
    simulation.timeLast();
    all.push_back("time " + std::to_string(simulation.currentTime()));
    for (const auto& entry : getVisualization()->getModelList()->getModels()) {
        auto* cells = dynamic_cast<SDCELLDevsModel*>(entry.second.get());
        if (cells == nullptr) {
            continue;
        }
        SDCellValues& values = cells->getValues();
        std::ostringstream line;
        line << entry.first << ":";
        for (size_t cell = 0; cell < values.size(); ++cell) {
            line << ' ' << (values.hasValue(cell) ? std::to_string(values.value(cell)) : "-");
        }
        all.push_back(line.str());
    }
    return all;
}

// The first `count` lines of a file.
std::string head(const std::string& path, long long count) {
    std::istringstream in(readFile(path));
    std::string text;
    std::string line;
    for (long long i = 0; i < count && std::getline(in, line); ++i) {
        text += line + "\n";
    }
    return text;
}

class SlicedImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto host = std::make_unique<RecordingHost>(calls);
        simulation = std::make_unique<VCSimulation>();
        simulation->setImportHost(std::move(host));
        ASSERT_TRUE(simulation->newVisualization("sliced"));
    }

    // The same file imported whole, into a fresh controller without a host. There is one visualization
    // slot: the sliced one is closed first.
    Lines importedWhole(const std::string& path) {
        simulation->closeVisualization();
        LogRecorder quiet;
        VCSimulation whole;
        whole.newVisualization("whole");
        EXPECT_TRUE(whole.importLogFile(path));
        return contents(whole);
    }

    HostCalls calls;
    std::unique_ptr<VCSimulation> simulation;
};

TEST_F(SlicedImportTest, SlicesLeaveWhatOneImportLeaves) {
    LogRecorder rec;
    ASSERT_TRUE(simulation->startImport(kSample));
    EXPECT_EQ(1, calls.started);
    EXPECT_TRUE(simulation->isImporting());
    EXPECT_EQ(0u, getVisualization()->getEventList()->size()) << "nothing is read before the first slice";

    int slices = 0;
    double fraction = 0.0;
    long long lines = 0;
    while (simulation->continueImport(0.01)) {
        ++slices;
        const VCImportProgress progress = simulation->getImportProgress();
        EXPECT_GE(progress.fraction(), fraction);
        EXPECT_GT(progress.lines, lines);
        fraction = progress.fraction();
        lines = progress.lines;
        EXPECT_EQ(0, calls.ended);
    }
    EXPECT_GT(slices, 10) << "a slice of 0.01 ms reads a few dozen lines";
    EXPECT_EQ(1, calls.ended);
    EXPECT_FALSE(simulation->isImporting());
    EXPECT_EQ("", simulation->getImportFailure());
    EXPECT_FALSE(simulation->wasImportCancelled());
    EXPECT_EQ(1.0, simulation->getImportProgress().fraction());
    EXPECT_FALSE(rec.contains("Import cancelled after " + std::to_string(lines) + " lines"));
    const Lines sliced = contents(*simulation);
    EXPECT_EQ(importedWhole(kSample), sliced);
}

TEST_F(SlicedImportTest, CancellingKeepsTheModelsAndEventsOfTheLinesRead) {
    LogRecorder rec;
    ASSERT_TRUE(simulation->startImport(kSample));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(simulation->continueImport(0.01));
    }
    const long long read = simulation->getImportProgress().lines;
    ASSERT_GT(read, 100);
    EXPECT_TRUE(simulation->cancelImport());
    EXPECT_FALSE(simulation->cancelImport()) << "nothing left to cancel";
    EXPECT_FALSE(simulation->isImporting());
    EXPECT_FALSE(simulation->continueImport(10.0));
    EXPECT_EQ(1, calls.ended);

    const std::string message = "Import cancelled after " + std::to_string(read) + " lines";
    EXPECT_EQ(1u, rec.count(message));
    EXPECT_EQ(message, simulation->getImportFailure());
    EXPECT_TRUE(simulation->wasImportCancelled());
    EXPECT_EQ(read, simulation->getImportProgress().lines);
    const Lines kept = contents(*simulation);

    // The next import is an ordinary one again.
    ASSERT_TRUE(simulation->startImport(kSample));
    while (simulation->continueImport(50.0)) {
    }
    EXPECT_FALSE(simulation->wasImportCancelled());
    EXPECT_EQ("", simulation->getImportFailure());
    EXPECT_EQ(2, calls.ended);

    TempDir dir;
    EXPECT_EQ(importedWhole(dir.write("prefix.log", head(kSample, read))), kept);
}

TEST_F(SlicedImportTest, OneImportAtATimeAndNoneIntoAClosedVisualization) {
    const std::string busy =
        "Unable to load log file as a simulation link since the simulation link is already linked to "
        "something "
        "else";
    LogRecorder rec;
    ASSERT_TRUE(simulation->startImport(kSample));
    ASSERT_TRUE(simulation->continueImport(0.01));
    EXPECT_FALSE(simulation->startImport(kSample));
    EXPECT_FALSE(simulation->importLogFile(kSample));
    EXPECT_EQ(2u, rec.count(busy));
    EXPECT_TRUE(simulation->isImporting()) << "the running import goes on";
    EXPECT_EQ(1, calls.started);

    // Closing ends the import first: nothing reads into the views that go.
    simulation->closeVisualization();
    EXPECT_FALSE(simulation->isImporting());
    EXPECT_EQ(1, calls.ended);
    EXPECT_EQ(nullptr, getVisualization());
    EXPECT_FALSE(simulation->continueImport(10.0));

    rec.clear();
    EXPECT_FALSE(simulation->startImport(kSample));
    EXPECT_EQ((Lines{"Unable to import from log file: no visualization currently exists."}), rec.lines());
    EXPECT_EQ(1, calls.started) << "a refused import is not announced";
}

TEST_F(SlicedImportTest, AFileThatCannotBeOpenedEndsAtOnceWithTheLoadersMessage) {
    LogRecorder rec;
    EXPECT_FALSE(simulation->startImport("missing.log"));
    EXPECT_FALSE(simulation->isImporting());
    EXPECT_EQ(0, calls.started);
    EXPECT_EQ(0, calls.ended);
    EXPECT_EQ("Unable to open log file for import", simulation->getImportFailure());
    EXPECT_EQ((Lines{"Unable to open log file for import"}), rec.lines());
}

TEST(SlicedImportWithoutHostTest, TheWholeFileIsReadAtOnce) {
    LogRecorder quiet;
    VCSimulation plain;
    ASSERT_TRUE(plain.newVisualization("plain"));
    EXPECT_TRUE(plain.startImport(kSample));
    EXPECT_FALSE(plain.isImporting());
    EXPECT_EQ(1.0, plain.getImportProgress().fraction());
    EXPECT_GT(getVisualization()->getEventList()->size(), 5000u);
}

TEST(ImportProgressTest, TextInWholePercentsAndGroupedLines) {
    VCImportProgress progress;
    progress.fileName = "runs/big.log";
    progress.lines = 540000;
    progress.bytesRead = 43999;
    progress.fileSize = 100000;
    EXPECT_EQ("Importing runs/big.log: 43 % (540,000 lines)", progress.text());
    progress.bytesRead = 100000;
    progress.lines = 1250324;
    EXPECT_EQ("Importing runs/big.log: 100 % (1,250,324 lines)", progress.text());
    progress.bytesRead = 200000;  // the file grew while it was read
    EXPECT_EQ(1.0, progress.fraction());
    progress.fileSize = 0;
    progress.bytesRead = 0;
    progress.lines = 0;
    EXPECT_EQ("Importing runs/big.log: 0 % (0 lines)", progress.text());

    EXPECT_EQ("999", groupThousands(999));
    EXPECT_EQ("1,000", groupThousands(1000));
    EXPECT_EQ("-12,345,678", groupThousands(-12345678));
    EXPECT_EQ("-9,223,372,036,854,775,808", groupThousands(-9223372036854775807LL - 1));
}

}  // namespace
