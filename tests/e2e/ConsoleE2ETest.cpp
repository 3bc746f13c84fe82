#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ConsoleReader.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kDashes = "----------------------";

std::string shotPath(const std::string& name) {
    return std::string(TESS_SCREENSHOT_DIR) + "/console_" + name + ".png";
}

// The user's view of the console, read from the window once the program has handled what was typed.
class ConsoleScreen {
  public:
    explicit ConsoleScreen(AppSession& app) : m_app(app) {}
    bool calibrate() { return m_reader.calibrate(m_app); }

    // Whether the newest lines of the output are `expected` (each cut where the console cuts it). A line
    // ending in '*' matches any line that starts with the rest. `lines()` then holds what was read.
    bool endsWith(Lines expected) {
        for (std::string& line : expected) {
            line = line.substr(0, static_cast<size_t>(m_reader.lineCapacity()));
        }
        m_lines = m_reader.outputLines(m_app.settledScreenshot());
        if (m_lines.size() < expected.size()) {
            return false;
        }
        const size_t first = m_lines.size() - expected.size();
        for (size_t i = 0; i < expected.size(); ++i) {
            const std::string& want = expected[i];
            const std::string& got = m_lines[first + i];
            const bool prefix = !want.empty() && want.back() == '*';
            if (prefix ? got.rfind(want.substr(0, want.size() - 1), 0) != 0 : got != want) {
                return false;
            }
        }
        return true;
    }
    // Enters `line` and checks that what it printed, after the empty line before the reply, is `reply`.
    bool replies(const std::string& line, const Lines& reply) {
        m_app.command(line);
        Lines expected{""};
        expected.insert(expected.end(), reply.begin(), reply.end());
        return endsWith(expected);
    }
    std::string lines() const { return ::testing::PrintToString(m_lines); }
    const Lines& current() const { return m_lines; }

  private:
    AppSession& m_app;
    ConsoleReader m_reader;
    Lines m_lines;
};

// Every executed or refused command object is deleted at the next frame, which the log reports.
const std::string kDisposed = "Disposing object with pointer *";

// One session through the command language: start-up, a visualization with the sample log and a cube, the
// listings, and every reply and refusal of the command table.
TEST(ConsoleE2ETest, CommandsReplyAndListTheVisualization) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_EQ("Startup successful...", app.logLines().back());
    app.settledScreenshot(shotPath("startup"));

    ConsoleScreen screen(app);
    ASSERT_TRUE(screen.calibrate());
    // The calibration replies follow the start-up lines, whose last is the start-up report.
    EXPECT_TRUE(screen.endsWith(
        {"GL_ARB_multitexture extension found", "GL_ARB_vertex_buffer_object extension found",
         "GL_ARB_vertex_program extension found", "GL_ARB_fragment_program extension found",
         "Startup successful...", "", "Unknown command: !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMN", "",
         "Unknown command: OPQRSTUVWXYZ[\\]^_abcdefghijklmnopqrstuvwxyz{|}~"}))
        << screen.lines();

    const std::string octree = "Created octtree at depth 1: Centre: (0.000, 0.000, 0.000) Dimensions: *";
    EXPECT_TRUE(screen.replies("vis_new demo",
                               {"Creating new visualization context named: demo.vis", octree, kDisposed}))
        << screen.lines();
    EXPECT_TRUE(
        screen.replies("vis_new other",
                       {"Creating new visualization context named: other.vis",
                        "Cannot create new visualization. Please close open visualization first", kDisposed}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("print VIS_EL",
                               {"Printing object info...", kDashes, "Event List:", kDashes, kDisposed}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("print VIS_NL", {"Printing object info...", kDashes,
                                                "Node List:", "List Size: 0", kDashes, kDashes, kDisposed}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("vis_import_logfile no_such.log",
                               {"Importing simulation results from log file: no_such.log",
                                "Unable to open log file for import", kDisposed}))
        << screen.lines();

    // The import's reply scrolls away under the import's own report, which ends with the last cell's event
    // and the merged record; its result shows in the listings.
    app.command("vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log");
    EXPECT_TRUE(screen.endsWith(
        {"Adding event", "msg X / 00:00:00:500 / life(02) / neighborchange /      1.00000 to life(0,19)(22)",
         "Model Data:", "Name: life", "Input ports: neighborchange |", "Output ports: out |",
         "CELL Space:", "Width: 20", "Height: 20", kDisposed}))
        << screen.lines();
    EXPECT_TRUE(screen.replies(
        "print VIS", {"Printing object info...", kDashes, "Current Visualization:", "Name: demo.vis",
                      "Current Time: 00:00:00:000", kDashes, kDisposed}))
        << screen.lines();
    app.settledScreenshot(shotPath("print_vis"));

    // The model list reaches the console through the log, so it is in log.txt too.
    EXPECT_TRUE(
        screen.replies("print VIS_ML", {"Printing object info...", kDashes, "Model List:", "DEVS model: life",
                                        "input ports:", "    -neighborchange", "output ports:", "    -out",
                                        "CELL Space:", "Width: 20", "Height: 20", kDashes, kDisposed}))
        << screen.lines();
    EXPECT_TRUE(app.waitForLogLine("DEVS model: life"));
    app.settledScreenshot(shotPath("print_vis_ml"));

    EXPECT_TRUE(screen.replies("vis_add_detail_node CUBE 0 0 -5 2",
                               {"Adding node object...", "Adding node to node list at position 0",
                                // The cube straddles the octree's x and y centre planes: four leaves.
                                "Adding node to tree node with bounding box: Centre(-400.000,-400.000,*",
                                "Adding node to tree node with bounding box: Centre(-400.000,400.000,*",
                                "Adding node to tree node with bounding box: Centre(400.000,-400.000,*",
                                "Adding node to tree node with bounding box: Centre(400.000,400.000,*",
                                "Node added successfully to Scene graph", kDisposed}))
        << screen.lines();
    ASSERT_TRUE(
        screen.replies("print VIS_NL", {"Printing object info...", kDashes, "Node List:", "List Size: 1",
                                        kDashes, "Node 0", "m_color =*", kDashes, kDisposed}))
        << screen.lines();
    const Lines shown = screen.current();
    const std::string& node = shown[shown.size() - 3];
    EXPECT_NE(std::string::npos, node.find("m_position ={-1.0,-1.0,-6.0} -> {1.0,1.0,-4.0}")) << node;
    app.settledScreenshot(shotPath("print_vis_nl"));

    const std::vector<std::pair<std::string, Lines>> replies = {
        {"exit now", {"usage: exit", kDisposed}},
        {"vis_new", {"usage: vis_new $visualization_name", kDisposed}},
        // The double blank makes an empty name token, so this is refused although "vis_new demo" was not.
        {"vis_new  demo", {"usage: vis_new $visualization_name", kDisposed}},
        {"vis_import_logfile", {"usage: vis_import_logfile $logfile", kDisposed}},
        {"vis_close now", {"usage: vis_close", kDisposed}},
        {"print vis", {"usage: print VIS | VIS_NL | VIS_ML | VIS_EL", kDisposed}},
        {"vis_add_detail_node SPHERE 1 2 3 4",
         {"usage: vis_add_detail_node (CUBE) $x_pos $y_pos $z_pos $size", kDisposed}},
        {"cam_move 1 2", {"usage: cam_move $side_movement $vertical_movement $forward_movement", kDisposed}},
        {"cam_rotate 1 2 3 4", {"usage: cam_rotate $yaw_change $pitch_change $roll_change", kDisposed}},
        {"EXIT", {"Unknown command: EXIT"}},
        {" exit", {"Unknown command:"}},
        {"cam_move 0 0 1", {"Moving camera...", kDisposed}},
        {"cam_rotate 0 0 0", {"Rotating camera...", kDisposed}},
        {"vis_close",
         {"Closing visualization context...", "Deleting octtree at depth 1: Centre: (0.000, 0.000, 0.000) *",
          "Removed tree location from Scene node info", "Removed tree location from Scene node info",
          "Removed tree location from Scene node info", "Removed tree location from Scene node info",
          "Deleting scene node 0", kDisposed}},
        {"print VIS",
         {"Printing object info...", "Unable to print out visualization. Visualization does not exist.",
          kDisposed}},
        {"print VIS_NL",
         {"Printing object info...",
          "Unable to print out visualization node list. Visualization does not exist.", kDisposed}},
        {"print VIS_ML",
         {"Printing object info...",
          "Unable to print out visualization model list. Visualization does not exist.", kDisposed}},
        {"print VIS_EL",
         {"Printing object info...",
          "Unable to print out visualization event list. Visualization does not exist.", kDisposed}},
    };
    for (const auto& [line, reply] : replies) {
        EXPECT_TRUE(screen.replies(line, reply)) << line << "\n" << screen.lines();
    }
    app.settledScreenshot(shotPath("replies"));
    EXPECT_TRUE(app.running()) << app.errors();
}

// Pixels of the console's output background in the output's area: none once the console is hidden.
int outputBackground(const Image& shot, const Image::Pixel& fill) {
    return shot.count(30, 90, 740, 500,
                      [&](Image::Pixel p) { return p.r == fill.r && p.g == fill.g && p.b == fill.b; });
}

// The colour of the output's background: the commonest colour of its area, wherever the text stands.
Image::Pixel backgroundOf(const Image& shot) {
    std::map<uint32_t, int> counts;
    for (int y = 90; y < 500 && y < shot.height; y += 3) {
        for (int x = 30; x < 740 && x < shot.width; x += 3) {
            const Image::Pixel p = shot.at(x, y);
            ++counts[static_cast<uint32_t>(p.r) << 16 | static_cast<uint32_t>(p.g) << 8 | p.b];
        }
    }
    const auto commonest = std::max_element(counts.begin(), counts.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    const uint32_t rgb = commonest == counts.end() ? 0 : commonest->first;
    return Image::Pixel{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                        static_cast<uint8_t>(rgb)};
}

size_t disposals(const AppSession& app) {
    size_t n = 0;
    for (const std::string& line : app.logLines()) {
        n += line.rfind("Disposing object with pointer ", 0) == 0 ? 1 : 0;
    }
    return n;
}

// The keys: Tab completion, back-quote and the close button, then the exit question from the command and
// from Escape, answered No and then Yes.
TEST(ConsoleE2ETest, KeysToggleTheConsoleAndEscapeAsksBeforeExiting) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    ConsoleScreen screen(app);
    ASSERT_TRUE(screen.calibrate());

    app.type("vis_");
    app.key("Tab");
    // The list's head has scrolled out of the console's rows.
    EXPECT_TRUE(screen.endsWith(
        {"vis_background", "vis_cell",  "vis_cells", "vis_changes",        "vis_close",        "vis_color",
         "vis_export",     "vis_field", "vis_fit",   "vis_import_logfile", "vis_import_model", "vis_layers",
         "vis_messages",   "vis_model", "vis_new",   "vis_outline",        "vis_palette",      "vis_plot",
         "vis_ramp",       "vis_range", "vis_scale", "vis_slice",          "vis_snapshot",     "vis_state",
         "vis_structure",  "vis_view"}))
        << screen.lines();
    app.settledScreenshot(shotPath("tab"));
    for (int i = 0; i < 4; ++i) {
        app.key("BackSpace");
    }
    // "p" starts two names, which Tab lists; a single match replaces the line: "pr" becomes "print",
    // which alone is refused with its usage text.
    app.type("p");
    app.key("Tab");
    EXPECT_TRUE(screen.endsWith({"", "Command List:", "-------------", "play", "print"})) << screen.lines();
    app.type("r");
    app.key("Tab");
    app.key("Return");
    EXPECT_TRUE(screen.endsWith({"", "usage: print VIS | VIS_NL | VIS_ML | VIS_EL", kDisposed}))
        << screen.lines();

    const Image::Pixel fill = backgroundOf(app.settledScreenshot());
    app.key("grave");
    EXPECT_EQ(0, outputBackground(app.settledScreenshot(shotPath("hidden")), fill));
    app.key("grave");
    EXPECT_GT(outputBackground(app.settledScreenshot(), fill), 100000);
    app.click(777, 63);  // the close button
    EXPECT_EQ(0, outputBackground(app.settledScreenshot(), fill));
    app.key("grave");
    const Image reopened = app.settledScreenshot();
    EXPECT_GT(outputBackground(reopened, fill), 100000);

    // "exit" asks; "No" leaves the program running and disposes of the box and the command.
    app.command("exit");
    EXPECT_TRUE(screen.endsWith({"", "Exiting..."})) << screen.lines();
    app.settledScreenshot(shotPath("exit_question"));
    const size_t before = disposals(app);
    app.click(445, 315);  // "No"
    const Image answered = app.settledScreenshot(shotPath("exit_answered_no"));
    EXPECT_EQ(before + 2, disposals(app)) << app.log();
    EXPECT_TRUE(app.running());

    // Escape asks the same; Enter on the focused "Yes" takes everything down and ends with status 0.
    app.key("Escape");
    EXPECT_GT(app.settledScreenshot(shotPath("escape_question")).differences(answered, 250, 270, 550, 330),
              1000);
    app.key("Return");
    EXPECT_EQ(0, app.waitForExit(60)) << app.errors();
    EXPECT_EQ("", app.errors());
    const Lines log = app.logLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(0u, log[log.size() - 2].rfind("Disposing object with pointer ", 0)) << app.log();
    EXPECT_EQ(0u, log.back().rfind("Disposing object with pointer ", 0)) << app.log();
    EXPECT_EQ(before + 4, disposals(app));
}

}  // namespace
