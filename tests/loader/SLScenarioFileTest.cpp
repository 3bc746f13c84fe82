// Grid scenarios: the cell space one declares (size, origin, name, initial values from default and
// overriding states, colours), how a file is recognised, and the exact report of what cannot be used.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "loader/SLScenarioFile.h"
#include "loader/SLSink.h"
#include "simdata/SDModelDeclaration.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

class DeclarationSink : public SLSink {
  public:
    std::vector<SDModelDeclaration> declarations;
    bool addModel(SDDevsModel*) override { return false; }
    bool addEvent(SDEvent*) override { return false; }
    bool addDeclaration(SDModelDeclaration declaration) override {
        declarations.push_back(std::move(declaration));
        return true;
    }
};

class SLScenarioFileTest : public ::testing::Test {
  protected:
    // Reads `text` as scenario.json; messages name it by the path given.
    bool read(const std::string& text) {
        m_sink.declarations.clear();
        m_log.clear();
        m_path = m_dir.write("scenario.json", text);
        SLScenarioFile file(&m_sink, m_path);
        const bool loaded = file.load();
        m_failure = file.getFailure();
        m_errors = file.getErrors();
        return loaded;
    }
    // The initial value of the cell at the run's coordinates, -1 for none.
    double initial(int x, int y = 0, int z = 0) const {
        const SDModelDeclaration& d = m_sink.declarations.at(0);
        double value = -1.0;
        if (d.initial == nullptr || x < d.origin[0] || y < d.origin[1] || z < d.origin[2] ||
            !d.initial->at(static_cast<unsigned>(x - d.origin[0]), static_cast<unsigned>(y - d.origin[1]),
                           static_cast<unsigned>(z - d.origin[2]), value)) {
            return -1.0;
        }
        return value;
    }

    TempDir m_dir;
    std::string m_path;
    DeclarationSink m_sink;
    LogRecorder m_log;
    std::string m_failure;
    std::vector<std::string> m_errors;
};

TEST_F(SLScenarioFileTest, DeclaresTheSpaceItsStatesAndColours) {
    struct Cell {
        int x, y, z;
        double value;  // -1: none
    };
    struct Case {
        const char* what;
        std::string json;
        std::string space;  // name, dimensions, size, origin, wrapped (-1: not said), colours of the viewer
        std::vector<Cell> cells;
    };
    const std::vector<Case> cases = {
        {"a plain 2D grid, the first field a number",
         R"({"scenario":{"shape":[4,3]},"cells":{"default":{"model":"fire","state":{"burning":0.5,"fuel":12}}}})",
         "fire 2D 4x3x1 from 0,0,0 wrapped -1, 0 colours",
         {{0, 0, 0, 0.5}, {3, 2, 0, 0.5}}},
        {"a bool and text are no numbers; nested ones count in order",
         R"({"scenario":{"shape":[5]},"cells":{"default":{"state":{"on":true,"tag":"x7","pos":{"a":[3,4]},"n":8}}}})",
         "cells 1D 5x1x1 from 0,0,0 wrapped -1, 0 colours",
         {{4, 0, 0, 3}}},
        {"a negative origin, 3D, an override of one field and one new",
         "{\"scenario\":{\"shape\":[3,2,2],\"origin\":[-1,-1,0],\"wrapped\":true},\n"
         " \"cells\":{\"default\":{\"model\":\"sir\",\"state\":{\"s\":0.9,\"i\":0.1}},\n"
         "   \"sick\":{\"state\":{\"s\":0.2,\"extra\":7},\"cell_map\":[[-1,-1,0],[1,0,1]]},\n"
         "   \"well\":{\"state\":{\"i\":0.0},\"cell_map\":[[0,0,0]]}}}",
         "sir 3D 3x2x2 from -1,-1,0 wrapped 1, 0 colours",
         {{-1, -1, 0, 0.2}, {1, 0, 1, 0.2}, {0, 0, 0, 0.9}, {0, -1, 1, 0.9}}},
        {"a later entry wins for a cell named twice; a state that is no object replaces the whole",
         R"({"scenario":{"shape":[2,2],"wrapped":false},"cells":{"default":{"state":{"v":1}},
            "a":{"state":{"v":2},"cell_map":[[1,1]]},"b":{"state":[5,6],"cell_map":[[1,1],[0,1]]}}})",
         "cells 2D 2x2x1 from 0,0,0 wrapped 0, 0 colours",
         {{1, 1, 0, 5}, {0, 1, 0, 5}, {0, 0, 0, 1}}},
        {"no number in any state: no initial values; a model name made fit for a reference",
         R"({"scenario":{"shape":[2,2]},"cells":{"default":{"model":"my fire-2","state":{"s":"open"}}}})",
         "my_fire_2 2D 2x2x1 from 0,0,0 wrapped -1, 0 colours",
         {{0, 0, 0, -1}}},
        {"the viewer entry for the field of the value is taken, not the first",
         R"({"scenario":{"shape":[2,2]},"cells":{"default":{"state":{"heat":20,"fuel":3}}},
            "viewer":[{"field":"fuel","breaks":[0,1],"colors":[[0,0,0]]},
                      {"field":"heat","breaks":[0,10,50,100],"colors":[[0,0,255],[255,255,0],[255,0,0]]}]})",
         "cells 2D 2x2x1 from 0,0,0 wrapped -1, 3 colours",
         {{1, 1, 0, 20}}},
        {"the sample with an origin: fuel 10, 0 at the two burnt corners, past the bool",
         readFile(std::string(TESS_SOURCE_DIR) + "/samples/scenarios/fire_origin_5x4.json"),
         "fire 2D 5x4x1 from -2,-1,0 wrapped 1, 2 colours",
         {{-2, -1, 0, 0}, {2, 2, 0, 0}, {0, 0, 0, 10}, {2, -1, 0, 10}, {-2, 2, 0, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(read(c.json)) << m_failure;
        EXPECT_TRUE(m_errors.empty()) << m_log.text();
        ASSERT_EQ(1u, m_sink.declarations.size());
        const SDModelDeclaration& d = m_sink.declarations[0];
        EXPECT_TRUE(d.cellSpace);
        ASSERT_NE(nullptr, d.scenario);
        const auto n = [](auto number) { return std::to_string(number); };
        EXPECT_EQ(c.space, d.name + " " + n(d.dimensions) + "D " + n(d.width) + "x" + n(d.height) + "x" +
                               n(d.length) + " from " + n(d.origin[0]) + "," + n(d.origin[1]) + "," +
                               n(d.origin[2]) + " wrapped " + n(d.scenario->wrapped) + ", " +
                               n(d.palette.size()) + " colours");
        for (const Cell& cell : c.cells) {
            EXPECT_EQ(cell.value, initial(cell.x, cell.y, cell.z))
                << cell.x << "," << cell.y << "," << cell.z;
        }
    }
    // The colours of the viewer case, by hand: 10 <= heat <= 50 is yellow.
    ASSERT_TRUE(read(cases[5].json));
    const SDModelDeclaration& d = m_sink.declarations[0];
    EXPECT_EQ("heat", d.paletteField);
    EXPECT_EQ(10.0, d.palette[1].low);
    EXPECT_EQ(50.0, d.palette[1].high);
    EXPECT_EQ((std::array<float, 4>{1.0f, 1.0f, 0.0f, 1.0f}), d.palette[1].colour);
}

TEST_F(SLScenarioFileTest, ReportsWhatCannotBeUsed) {
    struct Case {
        std::string json;
        bool read;                        // false: the file fails with the first message
        std::vector<std::string> errors;  // without "Scenario file <path>: "
    };
    const std::string shape = R"({"scenario":{"shape":[3,3]},"cells":{"default":{"state":{"v":1}})";
    const std::vector<Case> cases = {
        {"{\"scenario\": {\n  \"shape\": [2, 2],\n}}",
         false,
         {"invalid JSON at line 3: syntax error while parsing object key - unexpected '}'; expected string "
          "literal"}},
        {R"({"scenario":{"shape":[0,2]}})",
         false,
         {"scenario.shape must be 1 to 3 positive whole numbers, not [0,2]"}},
        {R"({"scenario":{"shape":[1,2,3,4]}})",
         false,
         {"scenario.shape must be 1 to 3 positive whole numbers, not [1,2,3,4]"}},
        {R"({"scenario":{"shape":[2.5]}})",
         false,
         {"scenario.shape must be 1 to 3 positive whole numbers, not [2.5]"}},
        {R"({"scenario":{"shape":"big"}})",
         false,
         {"scenario.shape must be 1 to 3 positive whole numbers, not \"big\""}},
        {R"({"cells":{}})", false, {"scenario.shape, the size of the cell space, is missing"}},
        {R"({"scenario":{"shape":[2,2],"origin":[0]}})",
         false,
         {"scenario.origin must have 2 coordinates as the shape does, not [0]"}},
        {R"({"scenario":{"shape":[5000,5000]}})",
         false,
         {"a shape of 5000x5000 holds more than 16777216 cells"}},
        {"[1,2]", false, {"the file holds [1,2], not a JSON object"}},
        {R"({"shape":[2]})", false, {"neither \"scenario\" nor \"cells\" is among its keys"}},
        {shape + R"(,"hot":{"state":{"v":2},"cell_map":[[1,1],[3,0],[-1,2],[1]]}}})",
         true,
         {"cells.hot: cell (3,0) of cell_map lies outside the shape 3x3 from (0,0)",
          "cells.hot: cell (-1,2) of cell_map lies outside the shape 3x3 from (0,0)",
          "cells.hot: a cell of cell_map is 2 whole numbers, not [1]"}},
        {shape + R"(,"hot":{"state":{"v":2}}},"viewer":[{"breaks":[0,1],"colors":[[0,0,0],[1,1,1]]}]})",
         true,
         {"cells.hot has no cell_map, the list of its cells", "viewer: 2 colors want one break more, not 2"}},
        {shape + R"(},"viewer":[{"breaks":[0,1],"colors":[[0,300,0]]}],"scenario2":1})",
         true,
         {"viewer: a colour is 3 whole numbers from 0 to 255, not [0,300,0]"}},
        {R"({"scenario":{"shape":[2],"wrapped":"yes"}})",
         true,
         {"scenario.wrapped must be true or false, not \"yes\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(c.read, read(c.json));
        std::vector<std::string> expected;
        for (const std::string& error : c.errors) {
            expected.push_back("Scenario file " + m_path + ": " + error);
        }
        if (c.read) {
            EXPECT_EQ(expected, m_errors);
            EXPECT_EQ(1u, m_sink.declarations.size()) << "the rest is still declared";
        } else {
            EXPECT_EQ(expected.at(0), m_failure);
            EXPECT_TRUE(m_log.contains(expected.at(0))) << m_log.text();
            EXPECT_TRUE(m_sink.declarations.empty());
        }
    }
}

TEST_F(SLScenarioFileTest, RecognisedByContentWhateverTheName) {
    struct Case {
        std::string text;
        bool looksLike;
        bool recognised;
    };
    const std::vector<Case> cases = {
        {"  \n\t{\"scenario\":{\"shape\":[2]}}", true, true},
        {"{\"cells\":{}}", true, true},
        {"\xEF\xBB\xBF{\"cells\":{}}", true, true},
        {"{\"scenario\":", true, false},
        {"time;model_id;model_name;port_name;data\n", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = m_dir.write("run.csv", c.text);
        EXPECT_EQ(c.looksLike, SLScenarioFile::looksLike(path));
        EXPECT_EQ(c.recognised, SLScenarioFile::recognise(path));
    }
    EXPECT_FALSE(SLScenarioFile::looksLike(m_dir.path()));
}

}  // namespace
