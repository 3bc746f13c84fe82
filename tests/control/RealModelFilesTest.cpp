// The real logs with the model files written for them (samples/models/): cell spaces at their true size
// from the log alone, and what a model file, a palette and a colour range add. What the cells should hold
// is read from the log files here, with a reading that shares nothing with the loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "control/VCCellReading.h"
#include "control/VCCellView.h"
#include "control/VCPalette.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/tools/LogText.h"

namespace {

namespace fs = std::filesystem;

std::string logPath(const std::string& stem) {
    return (fs::path(TESS_SHARED_DIR) / "logs" / (stem + ".log")).string();
}
std::string modelPath(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/samples/models/" + name;
}

// Per cell "x,y,z" of a model: the value of its last output on port out, read from the log's Y lines.
std::map<std::string, double> lastOutputs(const std::string& path, const std::string& model) {
    std::map<std::string, double> last;
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line)) {
        const std::vector<std::string> f = fields(line);
        if (f.size() != 8 || f[1] != "Y" || f[4] != "out" || f[3].rfind(model + "(", 0) != 0) {
            continue;
        }
        const size_t open = f[3].find('(');
        std::string cell = f[3].substr(open + 1, f[3].find(')') - open - 1);
        while (std::count(cell.begin(), cell.end(), ',') < 2) {
            cell += ",0";
        }
        last[cell] = std::stod(f[5]);
    }
    return last;
}

class RealModelFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::is_directory(fs::path(TESS_SHARED_DIR) / "logs")) {
            GTEST_SKIP() << "no real logs at " << TESS_SHARED_DIR;
        }
        ASSERT_TRUE(m_simulation.newVisualization("run"));
    }
    void read(const std::string& file) {
        if (file.size() > 3 && file.substr(file.size() - 3) == ".ma") {
            EXPECT_TRUE(m_simulation.importModelFile(file)) << file;
            EXPECT_TRUE(m_simulation.getModelFileErrors().empty()) << m_log.text();
        } else {
            EXPECT_TRUE(m_simulation.importLogFile(file)) << file;
        }
    }
    SDCELLDevsModel* space(const std::string& name) {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
    }
    // Every cell of the space at the current time: "value" or "value initial" or "-".
    std::map<std::string, std::string> cells(const std::string& name) {
        SDCELLDevsModel* model = space(name);
        getVisualization()->getCursor()->sync();
        const SDCellValues& values = model->getValues();
        std::map<std::string, std::string> all;
        size_t index = 0;
        for (unsigned x = 0; x < model->getWidth(); ++x) {
            for (unsigned y = 0; y < model->getHeight(); ++y) {
                for (unsigned z = 0; z < model->getLength(); ++z, ++index) {
                    const std::string key =
                        std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
                    all[key] = !values.hasValue(index) ? "-"
                                                       : std::to_string(values.value(index)) +
                                                             (values.isInitial(index) ? " initial" : "");
                }
            }
        }
        return all;
    }
    VCCellView::DrawnModel drawn(const std::string& name) {
        m_simulation.getCellView()->updateLayout();
        for (const VCCellView::DrawnModel& model : m_simulation.getCellView()->getDrawnModels()) {
            if (model.name == name) {
                return model;
            }
        }
        ADD_FAILURE() << name << " is not drawn";
        return {};
    }

    LogRecorder m_log;
    VCSimulation m_simulation;
};

// The true sizes themselves are checked for every real log by RealLogsTest.
TEST_F(RealModelFilesTest, TheImportPrintsACellSpaceOnlyAsItsMessagesGrowItTheListingAtItsTrueSize) {
    // The height from the README and the I lines, and the largest the X and Y lines reach.
    for (const auto& [log, height, messageHeight] :
         {std::tuple{"water_spread_2d_25x25", 25, 23}, std::tuple{"falling_mass_3d_8x8x8", 8, 6}}) {
        SCOPED_TRACE(log);
        m_log.clear();
        read(logPath(log));
        EXPECT_EQ(0u, m_log.count("Height: " + std::to_string(height)));
        EXPECT_LT(0u, m_log.count("Height: " + std::to_string(messageHeight)));
        m_log.clear();
        getVisualization()->getModelList()->printAll();
        EXPECT_EQ(1u, m_log.count("Height: " + std::to_string(height)));
        m_simulation.closeVisualization();
        ASSERT_TRUE(m_simulation.newVisualization("run"));
    }
}

TEST_F(RealModelFilesTest, TheFallingRockEndsAsRockAmongAirInEitherOrder) {
    const std::map<std::string, double> rock = lastOutputs(logPath("falling_mass_3d_8x8x8"), "fallrock");
    // 74 outputs of 1 from 45 cells, counted in the file by hand.
    ASSERT_EQ(45u, rock.size());
    std::map<std::string, std::string> expected;
    for (unsigned x = 0; x < 8; ++x) {
        for (unsigned y = 0; y < 8; ++y) {
            for (unsigned z = 0; z < 8; ++z) {
                const std::string key = std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
                auto found = rock.find(key);
                expected[key] = found == rock.end() ? "0.000000 initial" : std::to_string(found->second);
            }
        }
    }
    for (bool modelFirst : {false, true}) {
        SCOPED_TRACE(modelFirst ? "model file first" : "log first");
        const std::string model = modelPath("falling_mass_3d_8x8x8.ma");
        const std::string log = logPath("falling_mass_3d_8x8x8");
        read(modelFirst ? model : log);
        read(modelFirst ? log : model);
        m_simulation.timeLast();
        EXPECT_EQ(expected, cells("fallrock"));
        const VCCellView::DrawnModel bar = drawn("fallrock");
        EXPECT_TRUE(bar.hasRange);
        EXPECT_EQ(0.0, bar.minimum);
        EXPECT_EQ(1.0, bar.maximum);
        EXPECT_EQ(VCCellView::Legend::Values, bar.legend) << "two whole values";
        EXPECT_EQ("fallrock(0,0,0) = 0.000000 since 00:00:00:000 (initial value)",
                  VCCellReading::read("fallrock", 0, 0, 0).describe());
        m_simulation.closeVisualization();
        ASSERT_TRUE(m_simulation.newVisualization("run"));
    }
}

TEST_F(RealModelFilesTest, AModelFileReadTwiceChangesNothingMoreAndACellOutsideIsReportedOnce) {
    TempDir dir;
    // Two layers short of what the log names.
    const std::string shorter = dir.write("short.ma", "[fallrock]\ndim : (8,8,6)\ninitialvalue : 0\n");
    read(shorter);
    read(logPath("falling_mass_3d_8x8x8"));
    read(modelPath("gun_loader_crew.ma"));
    const std::map<std::string, std::string> before = cells("fallrock");
    const SDCoupledModel top = *getVisualization()->getCouplings()->find("top");
    read(shorter);
    read(modelPath("gun_loader_crew.ma"));
    EXPECT_EQ(before, cells("fallrock"));
    EXPECT_EQ(8u, space("fallrock")->getLength()) << "the log's cells stay";
    EXPECT_EQ(top.links, getVisualization()->getCouplings()->find("top")->links);
    EXPECT_EQ(7u, top.links.size());
    EXPECT_EQ("out@gunner -> fin@loader", top.links[5].describe());
    size_t outside = 0;
    for (const std::string& line : m_log.lines()) {
        outside += line.find("lies outside the model file's 8x8x6") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(1u, outside) << m_log.text();
}

TEST_F(RealModelFilesTest, APaletteGivesTheMorphFilterItsColoursAndItsLegend) {
    read(logPath("morph_filter_2d_8x8"));
    read(modelPath("morph_filter_2d_8x8.ma"));
    // The palette file's lines, by hand: [-0.5;0.5] 40 40 40, [0.5;1.5] 255 255 255, [1.5;2.5] 255 64 32,
    // [2.5;3.5] 32 160 255.
    const double ranges[4][2] = {{-0.5, 0.5}, {0.5, 1.5}, {1.5, 2.5}, {2.5, 3.5}};
    const int colours[4][3] = {{40, 40, 40}, {255, 255, 255}, {255, 64, 32}, {32, 160, 255}};
    std::string failure;
    std::vector<std::string> errors;
    ASSERT_TRUE(applyPalette("opening", modelPath("morph_filter_2d_8x8.pal"), failure, errors)) << failure;
    EXPECT_TRUE(errors.empty());
    const VCCellView::DrawnModel model = drawn("opening");
    ASSERT_EQ(VCCellView::Legend::Rules, model.legend);
    ASSERT_EQ(5u, model.swatches.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ranges[i][0], model.swatches[i].low);
        EXPECT_EQ(ranges[i][1], model.swatches[i].high);
        for (size_t c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(colours[i][c] / 255.0f, model.swatches[i].colour[c]);
        }
    }
    EXPECT_TRUE(model.swatches[4].noValue);
    TempDir dir;
    EXPECT_FALSE(applyPalette("opening", dir.write("bad.pal", "nothing good\n"), failure, errors));
    EXPECT_EQ("Palette " + dir.file("bad.pal") + ": no colour could be read; nothing changed", failure);
    EXPECT_EQ(5u, drawn("opening").swatches.size()) << "the rules stay";
}

// At their ends, in the default colours, the water and the heat show in several colours at least 40 levels
// apart, summed over red, green and blue, where the whole log's range (the water's sources of 4, the heat's
// outliers) made the water one dark colour. The water's range: of 964 values (625 initial, 621 of them 0,
// and 339 outputs), the 10th smallest is 0 and the 10th largest 0.44444, rounded out to 0.025. The heat's
// cells end within 24.39 .. 24.79, a twentieth of its range of 20 .. 28.5: the range follows them, rounded
// out to 0.025.
TEST_F(RealModelFilesTest, TheDefaultRangeGivesTheWaterAndTheHeatSeveralColoursAtTheirEnds) {
    for (const auto& [log, model, file, fewest, high, apartBy] :
         {std::tuple{"water_spread_2d_25x25", "plane", "water_spread_2d_25x25.ma", 3u, 0.45, 40},
          std::tuple{"thermal_cube_3d_4x4x4", "surface", "", 4u, 24.8, 40}}) {
        SCOPED_TRACE(log);
        read(logPath(log));
        if (*file != '\0') {
            read(modelPath(file));
        }
        m_simulation.timeLast();
        const VCCellView::DrawnModel shown = drawn(model);
        EXPECT_EQ(high, shown.maximum);
        std::vector<SDCellBatch::Rgba8> apart;
        for (const auto& [cell, value] : cells(model)) {
            if (value == "-") {
                continue;
            }
            const SDCellBatch::Rgba8 colour =
                SDCellBatch::toRgba8(shown.scale.colour(std::stod(value.substr(0, value.find(' ')))));
            const bool near = std::any_of(apart.begin(), apart.end(), [&](const SDCellBatch::Rgba8& other) {
                return std::abs(colour.r - other.r) + std::abs(colour.g - other.g) +
                           std::abs(colour.b - other.b) <
                       apartBy;
            });
            if (!near) {
                apart.push_back(colour);
            }
        }
        EXPECT_LE(fewest, apart.size());
        m_simulation.closeVisualization();
        ASSERT_TRUE(m_simulation.newVisualization("run"));
    }
}

TEST_F(RealModelFilesTest, TheRangeOfNowGivesTheThermalCubeSeveralColoursAtItsEnd) {
    read(logPath("thermal_cube_3d_4x4x4"));
    read(modelPath("thermal_cube_3d_4x4x4.ma"));
    // The log's 546 outputs of surface (no initial value): the 6th smallest and 6th largest are 20.32502
    // and 28.03931, a span of 7.7, rounded out to halves. At 3 s the cells hold 21.6 .. 25.9.
    m_simulation.timeGoto(3000.0);
    const VCCellView::DrawnModel robust = drawn("surface");
    EXPECT_EQ(20.0, robust.minimum);
    EXPECT_EQ(28.5, robust.maximum);
    EXPECT_TRUE(robust.belowRange && robust.aboveRange);
    // At the end they hold 24.39 .. 24.79: settled, so the range follows them and nothing lies outside.
    m_simulation.timeLast();
    const VCCellView::DrawnModel settled = drawn("surface");
    EXPECT_EQ(24.375, settled.minimum);
    EXPECT_EQ(24.8, settled.maximum);
    EXPECT_FALSE(settled.belowRange || settled.aboveRange);
    space("surface")->getLook().setRange(SDCellLook::Range::Log);
    const VCCellView::DrawnModel whole = drawn("surface");
    EXPECT_EQ(-43.36343, whole.minimum);
    EXPECT_EQ(74.49142, whole.maximum);
    space("surface")->getLook().setRange(SDCellLook::Range::Now);
    const std::map<std::string, double> last = lastOutputs(logPath("thermal_cube_3d_4x4x4"), "surface");
    ASSERT_EQ(64u, last.size());
    double low = 1e9;
    double high = -1e9;
    for (const auto& [cell, value] : last) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    const VCCellView::DrawnModel now = drawn("surface");
    EXPECT_EQ(low, now.minimum);
    EXPECT_EQ(high, now.maximum);
    EXPECT_GT(low, 18.0);
    EXPECT_LT(high, 29.0);
    space("surface")->getLook().setRange(SDCellLook::Range::Fixed, 20, 25);
    EXPECT_EQ(20.0, drawn("surface").minimum);
    EXPECT_EQ(25.0, drawn("surface").maximum);
}

}  // namespace
