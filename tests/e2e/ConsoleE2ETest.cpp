#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ConsoleReader.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kDashes = "----------------------";

std::string shotPath(const std::string& name) {
    return std::string(TESS_SCREENSHOT_DIR) + "/console_" + name + ".png";
}

// The user's view of the console, read from the window: the program works between key presses, so every
// check waits until the expected lines are on screen.
class ConsoleScreen {
  public:
    explicit ConsoleScreen(AppSession& app) : m_app(app) {}
    bool calibrate() { return m_reader.calibrate(m_app); }

    // Waits until the output shows `expected` as consecutive lines (each cut where the console cuts it);
    // false after `seconds`. `lines()` then holds the last reading.
    bool shows(Lines expected, double seconds = 20) {
        for (std::string& line : expected) {
            line = line.substr(0, static_cast<size_t>(m_reader.lineCapacity()));
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(int(seconds * 1000));
        do {
            m_lines = m_reader.outputLines(m_app.screenshot());
            if (containsRun(m_lines, expected)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }
    // Enters `line` and waits for its reply, printed after an empty line, and what follows it.
    bool replies(const std::string& line, const Lines& reply, double seconds = 20) {
        m_app.command(line);
        Lines expected{""};
        expected.insert(expected.end(), reply.begin(), reply.end());
        return shows(expected, seconds);
    }
    std::string lines() const { return ::testing::PrintToString(m_lines); }
    const Lines& current() const { return m_lines; }

  private:
    AppSession& m_app;
    ConsoleReader m_reader;
    Lines m_lines;
};

// One session through the command language: start-up, a visualization with the sample log and a cube, the
// listings, and every reply and refusal of the command table.
TEST(ConsoleE2ETest, CommandsReplyAndListTheVisualization) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_EQ("Startup successful...", app.logLines().back());
    app.stableScreenshot(shotPath("startup"));

    ConsoleScreen screen(app);
    ASSERT_TRUE(screen.calibrate());
    // The calibration replies follow the start-up lines, whose last is the start-up report.
    EXPECT_TRUE(screen.shows(
        {"GL_ARB_multitexture extension found", "GL_ARB_vertex_buffer_object extension found",
         "GL_ARB_vertex_program extension found", "GL_ARB_fragment_program extension found",
         "Startup successful...", "", "Unknown command: !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMN"}))
        << screen.lines();

    EXPECT_TRUE(screen.replies("vis_new demo", {"Creating new visualization context named: demo.vis"}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("vis_new other",
                               {"Creating new visualization context named: other.vis",
                                "Cannot create new visualization. Please close open visualization first"}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("print VIS_EL", {"Printing object info...", kDashes, "Event List:", kDashes}))
        << screen.lines();
    EXPECT_TRUE(screen.replies(
        "print VIS_NL", {"Printing object info...", kDashes, "Node List:", "List Size: 0", kDashes, kDashes}))
        << screen.lines();
    EXPECT_TRUE(screen.replies("vis_import_logfile no_such.log",
                               {"Importing simulation results from log file: no_such.log"}))
        << screen.lines();

    // The import's reply scrolls away under the import's own report; its result shows in the listings.
    app.command("vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log");
    EXPECT_TRUE(screen.replies("print VIS",
                               {"Printing object info...", kDashes, "Current Visualization:",
                                "Name: demo.vis", "Current Time: 00:00:00:000", kDashes},
                               180))
        << screen.lines();
    app.stableScreenshot(shotPath("print_vis"));

    // The model list reaches the console through the log, so it is in log.txt too.
    EXPECT_TRUE(screen.replies("print VIS_ML",
                               {"Printing object info...", kDashes, "Model List:", "DEVS model: life",
                                "input ports:", "    -neighborchange", "output ports:", "    -out", kDashes}))
        << screen.lines();
    EXPECT_TRUE(app.waitForLogLine("DEVS model: life"));
    app.stableScreenshot(shotPath("print_vis_ml"));

    EXPECT_TRUE(screen.replies("vis_add_detail_node CUBE 0 0 -5 2", {"Adding node object..."}))
        << screen.lines();
    ASSERT_TRUE(screen.replies("print VIS_NL", {"Printing object info...", kDashes,
                                                "Node List:", "List Size: 1", kDashes, "Node 0"}))
        << screen.lines();
    const Lines shown = screen.current();
    const auto node = std::find(shown.begin(), shown.end(), "Node 0");
    ASSERT_TRUE(node + 2 < shown.end());
    EXPECT_EQ(0u, node[1].rfind("m_color =", 0)) << node[1];
    EXPECT_NE(std::string::npos, node[1].find("m_position ={-1.0,-1.0,-6.0} -> {1.0,1.0,-4.0}")) << node[1];
    EXPECT_EQ(kDashes, node[2]);
    app.stableScreenshot(shotPath("print_vis_nl"));

    const std::vector<std::pair<std::string, Lines>> replies = {
        {"exit now", {"usage: exit"}},
        {"vis_new", {"usage: vis_new $visualization_name"}},
        {"vis_new  demo", {"usage: vis_new $visualization_name"}},
        {"vis_import_logfile", {"usage: vis_import_logfile $logfile"}},
        {"vis_close now", {"usage: vis_close"}},
        {"print vis", {"usage: print VIS | VIS_NL | VIS_ML | VIS_EL"}},
        {"vis_add_detail_node SPHERE 1 2 3 4",
         {"usage: vis_add_detail_node (CUBE) $x_pos $y_pos $z_pos $size"}},
        {"cam_move 1 2", {"usage: cam_move $side_movement $vertical_movement $forward_movement"}},
        {"cam_rotate 1 2 3 4", {"usage: cam_rotate $yaw_change $pitch_change $roll_change"}},
        {"EXIT", {"Unknown command: EXIT"}},
        {" exit", {"Unknown command:"}},
        {"cam_move 0 0 1", {"Moving camera..."}},
        {"cam_rotate 0 0 0", {"Rotating camera..."}},
        {"vis_close", {"Closing visualization context..."}},
        {"print VIS",
         {"Printing object info...", "Unable to print out visualization. Visualization does not exist."}},
        {"print VIS_NL",
         {"Printing object info...",
          "Unable to print out visualization node list. Visualization does not exist."}},
        {"print VIS_ML",
         {"Printing object info...",
          "Unable to print out visualization model list. Visualization does not exist."}},
        {"print VIS_EL",
         {"Printing object info...",
          "Unable to print out visualization event list. Visualization does not exist."}},
    };
    for (const auto& [line, reply] : replies) {
        EXPECT_TRUE(screen.replies(line, reply)) << line << "\n" << screen.lines();
    }
    app.stableScreenshot(shotPath("replies"));
    EXPECT_TRUE(app.running()) << app.errors();
}

// Pixels of the console's output background in the output's area: none once the console is hidden.
int outputBackground(const Image& shot, const Image::Pixel& fill) {
    return shot.count(30, 90, 740, 500,
                      [&](Image::Pixel p) { return p.r == fill.r && p.g == fill.g && p.b == fill.b; });
}

size_t disposals(const AppSession& app) {
    size_t n = 0;
    for (const std::string& line : app.logLines()) {
        n += line.rfind("Disposing object with pointer ", 0) == 0 ? 1 : 0;
    }
    return n;
}

bool waitUntil(const std::function<bool()>& done, double seconds = 20) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(int(seconds * 1000));
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
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
    EXPECT_TRUE(screen.shows({"", "Command List:", "-------------", "vis_add_detail_node", "vis_close",
                              "vis_color", "vis_fit", "vis_import_logfile", "vis_new"}))
        << screen.lines();
    app.stableScreenshot(shotPath("tab"));
    for (int i = 0; i < 4; ++i) {
        app.key("BackSpace");
    }
    // A single match replaces the line: "p" becomes "print", which alone is refused with its usage text.
    app.type("p");
    app.key("Tab");
    app.key("Return");
    EXPECT_TRUE(screen.shows({"", "usage: print VIS | VIS_NL | VIS_ML | VIS_EL"})) << screen.lines();

    const Image::Pixel fill = app.stableScreenshot().at(30, 100);
    app.key("grave");
    EXPECT_TRUE(waitUntil([&] { return outputBackground(app.screenshot(), fill) == 0; }));
    app.stableScreenshot(shotPath("hidden"));
    app.key("grave");
    EXPECT_TRUE(waitUntil([&] { return outputBackground(app.screenshot(), fill) > 100000; }));
    app.click(777, 63);  // the close button
    EXPECT_TRUE(waitUntil([&] { return outputBackground(app.screenshot(), fill) == 0; }));
    app.key("grave");
    EXPECT_TRUE(waitUntil([&] { return outputBackground(app.screenshot(), fill) > 100000; }));

    // "exit" asks; "No" leaves the program running and disposes of the box and the command.
    app.command("exit");
    EXPECT_TRUE(screen.shows({"", "Exiting..."})) << screen.lines();
    app.stableScreenshot(shotPath("exit_question"));
    const size_t before = disposals(app);
    app.click(445, 315);  // "No"
    EXPECT_TRUE(waitUntil([&] { return disposals(app) == before + 2; })) << app.log();
    app.stableScreenshot(shotPath("exit_answered_no"));
    EXPECT_TRUE(app.running());

    // Escape asks the same; Enter on the focused "Yes" takes everything down and ends with status 0.
    app.key("Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    app.stableScreenshot(shotPath("escape_question"));
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
