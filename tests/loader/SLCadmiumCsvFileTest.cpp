// The separated-values run reader on the hand-written sample samples/cadmium2_spread.csv and on small
// files of its odd cases: every expected value below is read off the files by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "loader/SLCadmiumCsvFile.h"
#include "loader/SLCsvRow.h"
#include "loader/SLRunReader.h"
#include "tests/loader/CsvRunSink.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/cadmium2_spread.csv";

class SLCadmiumCsvFileTest : public ::testing::Test {
  protected:
    // Reads `path` whole through the reader openRunReader picks, in slices of `slice` lines.
    // `direct`: through this reader whatever the file holds.
    bool read(const std::string& path, size_t slice = 1000, bool direct = false) {
        reader = direct ? std::make_unique<SLCadmiumCsvFile>(&sink, path) : openRunReader(&sink, path);
        if (!reader->open()) {
            return false;
        }
        SLRunReader::Step step = SLRunReader::Step::More;
        while (step == SLRunReader::Step::More) {
            step = reader->readLines(slice);
        }
        return step == SLRunReader::Step::Done;
    }
    std::string header = "time;model_id;model_name;port_name;data\n";
    LogRecorder log;
    TempDir dir;
    CsvRunSink sink;
    std::unique_ptr<SLRunReader> reader;
};

TEST_F(SLCadmiumCsvFileTest, TheSampleReadsAsByHand) {
    struct Case {
        const char* cell;
        double milliseconds;
        const char* value;  // "-": no number yet
    };
    const Case cases[] = {
        {"cells(-1,-1)", 0, "0"},   {"cells(1,-1)", 0, "0.5"},    {"cells(0,0)", 0, "1"},
        {"cells(1,0)", 0, "-"},     {"cells(1,-1)", 1499, "0.5"}, {"cells(1,-1)", 1500, "0.25"},
        {"cells(0,0)", 1500, "2"},  {"cells(0,-1)", 1500, "0.8"}, {"cells(1,0)", 2500, "3"},
        {"cells(-1,0)", 2000, "0"}, {"cells(-1,0)", 2500, "7"},   {"cells(-1,-1)", 1e9, "0"},
    };
    // Slices of one line and of all lines read the same.
    for (size_t slice : {size_t{1}, size_t{1000}}) {
        sink = CsvRunSink();
        ASSERT_TRUE(read(kSample, slice)) << log.text();
        EXPECT_EQ(15u, sink.events.size());
        for (const Case& c : cases) {
            EXPECT_EQ(c.value, sink.valueAt(c.cell, c.milliseconds)) << c.cell << " at " << c.milliseconds;
        }
    }
    EXPECT_EQ(2500.0, reader->latestTime());
    EXPECT_EQ(33, reader->linesRead());
    EXPECT_EQ(22, reader->census().messages());
    EXPECT_EQ(std::vector<std::string>{"Passed over 3 lines that are not messages, the first at line 3"},
              reader->census().reports());
    // The models in the order they came, each with its output ports.
    std::vector<std::string> models;
    for (const std::string& name : sink.modelOrder) {
        models.push_back(name);
        for (const std::string& port : sink.models[name].ports) {
            models.back() += " " + port;
        }
    }
    EXPECT_EQ((std::vector<std::string>{"cadmium2_spread", "cells out", "sensor#7 report", "sensor#8 alarm",
                                        "clock tick", "sensor#10"}),
              models);
    const CsvRunSink::Model& cells = sink.models["cells"];
    EXPECT_TRUE(cells.cells);
    EXPECT_EQ((std::array<unsigned, 3>{3, 2, 1}), cells.size);
    EXPECT_EQ((std::array<int, 3>{-1, -1, 0}), cells.origin);
    // Each line once among the events, messages or states.
    const struct {
        const std::vector<std::string>& got;
        std::vector<std::string> lines;
    } kept[] = {
        {sink.events,
         {"1500 cells(0,0) out 1 > cells", "1500 sensor#7 report 4 > cadmium2_spread",
          "2500 clock tick 0 > cadmium2_spread", "2500 sensor#8 alarm 2 > cadmium2_spread"}},
        {sink.messages,
         {"I cadmium2_spread > cells", "I cells > cells(-1,-1)", "I cells > cells(1,0)",
          "I cadmium2_spread > sensor#7", "I cadmium2_spread > sensor#10", "Y cells(0,0) > cells",
          "Y sensor#8 > cadmium2_spread"}},
        {sink.states,
         {"0 cells(1,0) = closed", "0 sensor#7 = {level: 4, busy: 1}",
          "0 clock = {\n  ticks: 0,\n  period: 2.5\n}", "1500 cells(0,-1) = <0.8,2>",
          "2500 clock = {\n  ticks: 1,\n  period: 2.5\n}", "2500 cells(-1,0) = <7,7>",
          "2500 sensor#10 = {level: 9, busy: 1}"}},
    };
    for (const auto& k : kept) {
        for (const std::string& line : k.lines) {
            EXPECT_EQ(1, std::count(k.got.begin(), k.got.end(), line)) << line;
        }
    }
    // Six cells and four plain models are announced, outputs go out once each.
    EXPECT_EQ(11u + 4u, sink.messages.size());
    // 18 state rows, the one at an infinite time not among them.
    EXPECT_EQ(17u, sink.states.size());
}

TEST_F(SLCadmiumCsvFileTest, RowsAreCutAtTheirFields) {
    struct Case {
        const char* line;
        char separator;
        const char* fields;  // "time|id|name|port|data", "" when the line is no row
    };
    const Case cases[] = {
        {"0;1;gen;out;5", ';', "0|1|gen|out|5"},
        {"2.5;3;(3,4);;<0.5;12>", ';', "2.5|3|(3,4)||<0.5;12>"},
        {"1.23457e+06,4,(0,-2,1),,{a: 1, b: 2}", ',', "1.23457e+06|4|(0,-2,1)||{a: 1, b: 2}"},
        {"inf,9,clock,,done", ',', "inf|9|clock||done"},
        {"3,2,((1),2),port,x", ',', "3|2|((1),2)|port|x"},
        {"3;2;gen;out", ';', "3|2|gen|out|"},
        {"-1;2;gen;;", ';', "-1|2|gen||"},
        {"Model creation time: 0.01 seconds", ';', ""},
        {"nan;1;gen;;", ';', ""},
        {"0x10;1;gen;;", ';', ""},
        {" 3;1;gen;;", ';', ""},
        {"3;1", ';', ""},
        {"3;;gen;;", ';', ""},
        {"3,1,(2,3,port,x", ',', ""},
        {"3,1,(2,3)x,port,x", ',', ""},
    };
    for (const Case& c : cases) {
        SLCsvRow::Fields f;
        std::string got;
        if (SLCsvRow::cut(c.line, c.separator, f)) {
            got = std::string(f.time) + "|" + std::string(f.id) + "|" + std::string(f.name) + "|" +
                  std::string(f.port) + "|" + std::string(f.data);
        }
        EXPECT_EQ(c.fields, got) << c.line;
    }
}

TEST_F(SLCadmiumCsvFileTest, FilesAreKnownByTheirFirstLines) {
    struct Case {
        std::vector<std::string> lines;
        bool recognised;
    };
    const Case cases[] = {
        {{"time;model_id;model_name;port_name;data"}, true},
        {{"sep=,", "time,model_id,model_name,port_name,data"}, true},
        {{"\xEF\xBB\xBFsep=|", "", "time|model_id|model_name|port_name|data  "}, true},
        {{"", "  ", "time\tmodel_id\tmodel_name\tport_name\tdata", "0\t1\ta\t\t1"}, true},
        {{"sep=,", "time;model_id;model_name;port_name;data"}, false},
        {{"time;model_id;model_name;port_name"}, false},
        {{"Model creation time: 0.01", "time;model_id;model_name;port_name;data"}, false},
        {{"Mensaje Y / 00:00:00:100 / gen(02) / out / 1.00000 para top(01)"}, false},
        {{}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.recognised, SLCsvRow::recognise(c.lines)) << (c.lines.empty() ? "" : c.lines.back());
    }
}

TEST_F(SLCadmiumCsvFileTest, OddFilesAreReadOrRefusedAsTheySay) {
    struct Case {
        const char* name;
        std::string text;
        bool read;
        const char* expect;  // a log line (refused or passed over), or the events joined with " | "
    };
    const Case cases[] = {
        {"four.csv", header + "0;1;(1,2,3,4);;5\n", false,
         "/four.csv: cells of 4 dimensions; at most 3 can be shown (line 2)"},
        {"noheader.csv", "0;1;gen;;5\n", false, "/noheader.csv: line 1 is not the header"},
        // A cell later below the origin of the first time is passed over, with one line.
        {"below.csv", header + "0;1;(0,0);;1\n1;2;(-1,0);;2\n2;2;(-1,0);;3\n", true,
         "Passing over cells(-1,0) of log file"},
        // A one-dimensional space; a row at an infinite time makes no event; a later id of a known
        // name is told apart; a line that begins with a blank continues the row before.
        {"line.csv", header + "0;1;(-2);;4\n0;2;gen;;s\ninf;1;(-2);;9\n1;3;gen;;\n  7\n1;3;gen;out;1\n", true,
         "0 cells(-2) out 4 > cells | 1000 gen#3 out 1 > line"},
        // A plain name in brackets would read as a cell.
        {"plain.csv", header + "0;1;gen(1);out;5\n", true, "0 gen[1] out 5 > plain"},
        // The top model is never one of the run's models, nor the cell space; a model named as the
        // space is told apart.
        {"gen.csv", header + "0;1;gen;out;5\n", true, "0 gen out 5 > gen_top"},
        {"cells.csv", header + "0;1;(0);;5\n0;2;cells;out;6\n", true,
         "0 cells(0) out 5 > cells | 0 cells#2 out 6 > cells_top"},
    };
    for (const Case& c : cases) {
        sink = CsvRunSink();
        log.clear();
        EXPECT_EQ(c.read, read(dir.write(c.name, c.text), 1000, true)) << c.name;
        std::string events;
        for (const std::string& event : sink.events) {
            events += (events.empty() ? "" : " | ") + event;
        }
        const std::string got = c.read && !events.empty() && log.text().find(c.expect) == std::string::npos
                                    ? events
                                    : log.text() + reader->getFailure();
        EXPECT_NE(std::string::npos, got.find(c.expect)) << c.name << ": " << got;
    }
}

TEST_F(SLCadmiumCsvFileTest, DeclaredSpaceNamesTheCellsAndTheirOrigin) {
    sink.declaredName = "fire";
    sink.declaredOrigin = {-5, -5, 0};
    // (-3,-4) lies above the declared origin: stored at (2,1).
    ASSERT_TRUE(read(dir.write("declared.csv", header + "0;1;(-3,-4);;2\n"))) << log.text();
    EXPECT_EQ(std::vector<std::string>{"0 fire(-3,-4) out 2 > fire"}, sink.events);
    EXPECT_EQ((std::array<int, 3>{-5, -5, 0}), sink.models["fire"].origin);
    EXPECT_EQ((std::array<unsigned, 3>{3, 2, 1}), sink.models["fire"].size);
}

// The reader hands back the memory of the lines it has read; rows that wait longer (the first time's, a
// row a line may continue) must keep their own text. 4,000 first rows of 300 bytes outgrow what the line
// reader holds at once, and at the next time each row's data goes on in a line of its own.
TEST_F(SLCadmiumCsvFileTest, RowsKeepTheirTextAfterTheirLinesAreGone) {
    const int cells = 4000;
    // Cell i's data at time t: its number first, so that it is also the cell's value.
    const auto data = [](int i, int t) {
        const std::string n = std::to_string(i);
        return t == 0 ? "{v: " + n + ", " + std::string(280, 'x') + "}"
                      : "{w: " + std::to_string(2 * i) + ",\n  tail " + n + "}";
    };
    std::string text = header;
    for (int t : {0, 1}) {
        for (int i = 0; i < cells; ++i) {
            text += std::to_string(t) + ";" + std::to_string(i + 1) + ";(" + std::to_string(i) + ",0);;" +
                    data(i, t) + "\n";
        }
    }
    ASSERT_TRUE(read(dir.write("long.csv", text), 1000)) << log.text();
    const struct {
        int cell, t;
        const char* value;
    } cases[] = {{0, 0, "0"}, {1023, 0, "1023"}, {3999, 0, "3999"},
                 {0, 1, "0"}, {1500, 1, "3000"}, {3999, 1, "7998"}};
    for (const auto& c : cases) {
        const std::string cell = "cells(" + std::to_string(c.cell) + ",0)";
        const std::string state = std::to_string(1000 * c.t) + " " + cell + " = " + data(c.cell, c.t);
        EXPECT_EQ(c.value, sink.valueAt(cell, 1000.0 * c.t)) << cell << " at " << c.t;
        EXPECT_EQ(1, std::count(sink.states.begin(), sink.states.end(), state)) << state.substr(0, 40);
    }
    EXPECT_EQ(2u * cells, sink.states.size());
    EXPECT_EQ(2u * cells, sink.events.size());
    EXPECT_TRUE(reader->census().reports().empty());
}

}  // namespace
