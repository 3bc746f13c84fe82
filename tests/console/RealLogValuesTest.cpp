// What vis_cell and vis_state report for real simulator logs at a few times. Every expected value was read
// by hand from the log file; the comments give the line numbers (counting from 1).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/EngineVariables.h"
#include "tests/console/CommandFixture.h"

namespace {

namespace fs = std::filesystem;

class RealLogValuesTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
    }
    // False when the shared logs are not there.
    bool open(const std::string& name) {
        path = (fs::path(TESS_SHARED_DIR) / "logs" / name).string();
        if (!fs::exists(path)) {
            return false;
        }
        run("vis_new real");
        import(path);
        return true;
    }
    // With the console channel off: the console keeps only its last lines, which the import would fill.
    void import(const std::string& log) {
        getEngineVariables()->setBool("console_logging", false);
        run("vis_import_logfile " + log);
        getEngineVariables()->setBool("console_logging", true);
    }
    // The last line a command printed.
    std::string last(const std::string& line) {
        const Lines lines = run(line);
        return lines.empty() ? "" : lines.back();
    }

    std::string path;
};

TEST_F(RealLogValuesTest, WaterSpreadOnAPlane) {
    if (!open("water_spread_2d_25x25.log")) {
        GTEST_SKIP() << "no real logs";
    }
    // No event happens at 0: the first Y lines are at 1 s.
    EXPECT_EQ("plane(5,5) has no value yet", last("vis_cell plane 5 5"));
    EXPECT_EQ("Current time: 00:00:01:000", last("time_next"));
    EXPECT_EQ("plane(5,5) = 0.444440 since 00:00:01:000", last("vis_cell plane 5 5"));  // line 1293
    EXPECT_EQ("plane(4,4) has no value yet", last("vis_cell plane 4 4"));               // first Y: line 1665
    EXPECT_EQ("Current time: 00:00:03:000", last("time_goto 00:00:03:500"));
    EXPECT_EQ("plane(5,5) = 0.197530 since 00:00:02:000", last("vis_cell plane 5 5"));  // line 1673
    EXPECT_EQ("plane(5,6) = 0.230450 since 00:00:03:000", last("vis_cell plane 5 6"));  // line 2399
    EXPECT_EQ("plane(4,4) = 0.049380 since 00:00:02:000", last("vis_cell plane 4 4"));  // line 1665
    EXPECT_EQ("Current time: 00:00:04:000", last("time_goto end"));
    EXPECT_EQ("plane(5,5) = 0.156070 since 00:00:04:000", last("vis_cell plane 5 5"));  // line 3673
    // Only cells 0..22 of each axis appear in X and Y lines; the I lines name all 25 x 25.
    EXPECT_EQ("plane(24,24) has no value yet", last("vis_cell plane 24 24"));
    EXPECT_EQ("Cell (25,0,0) is outside plane's 25x25x1 cells", last("vis_cell plane 25"));

    // The same log imported again: its events of each time follow the first copy's, so the values and
    // the current time stay as they were.
    import(path);
    EXPECT_EQ("plane(5,5) = 0.156070 since 00:00:04:000", last("vis_cell plane 5 5"));
    EXPECT_EQ("Current time: 00:00:02:000", last("time_goto 00:00:02:000"));
    EXPECT_EQ("plane(5,6) = 0.296300 since 00:00:02:000", last("vis_cell plane 5 6"));  // line 1675
}

TEST_F(RealLogValuesTest, HeatInACubeWithTwoGenerators) {
    if (!open("thermal_cube_3d_4x4x4.log")) {
        GTEST_SKIP() << "no real logs";
    }
    // Events happen at 0, so the start is the first event time; surface(1,2,3) first sends at 2 s.
    EXPECT_EQ("surface(1,2,3) has no value yet", last("vis_cell surface 1 2 3"));
    EXPECT_EQ((Lines{"gencold out = 1.000000 since 00:00:00:000",    // line 150
                     "genheat out = 1.000000 since 00:00:00:000"}),  // line 139
              run("vis_state"));
    EXPECT_EQ("Current time: 00:00:04:640", last("time_goto 00:00:04:999"));
    EXPECT_EQ("surface(1,2,3) = 24.149930 since 00:00:04:640", last("vis_cell surface 1 2 3"));  // line 1686
    EXPECT_EQ("Current time: 00:00:04:000", last("time_prev"));
    EXPECT_EQ("surface(1,2,3) = 23.761070 since 00:00:04:000", last("vis_cell surface 1 2 3"));  // line 1364
    EXPECT_EQ((Lines{"gencold out = 1.000000 since 00:00:00:000",                                // line 150
                     "genheat out = 1.000000 since 00:00:01:640"}),                              // line 285
              run("vis_state"));
    EXPECT_EQ("Current time: 00:00:06:640", last("time_goto end"));
    EXPECT_EQ("surface(1,2,3) = 24.504510 since 00:00:06:640", last("vis_cell surface 1 2 3"));  // line 2974

    // A second run in the same visualization: the plane's cells get values and the cube's stay.
    const std::string water = (fs::path(TESS_SHARED_DIR) / "logs" / "water_spread_2d_25x25.log").string();
    import(water);
    EXPECT_EQ("surface(1,2,3) = 24.504510 since 00:00:06:640", last("vis_cell surface 1 2 3"));
    EXPECT_EQ("plane(5,5) = 0.156070 since 00:00:04:000", last("vis_cell plane 5 5"));
    EXPECT_EQ("Current time: 00:00:03:000", last("time_goto 00:00:03:000"));
    EXPECT_EQ("plane(5,5) = 0.197530 since 00:00:02:000", last("vis_cell plane 5 5"));
    EXPECT_EQ("surface(1,2,3) = 23.440160 since 00:00:03:000", last("vis_cell surface 1 2 3"));  // line 810
}

}  // namespace
