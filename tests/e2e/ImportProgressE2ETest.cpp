// A long import in the real program: its progress in the strip and on a terminal, input that waits for it,
// and Escape, which cancels it and keeps what was read.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tools/LifeLog.h"

namespace {

using Lines = std::vector<std::string>;

// A Game of Life run of 100 x 100 cells, `generations` long.
struct BigLog {
    std::string text;
    LifeLogSummary summary;
};
// The sessions log every message: the checks below read the whole import from the log, and the import
// rate they size the log by is that of logging all.
const Lines kEveryMessage = {"--log-every-message"};

BigLog makeBigLog(int generations) {
    BigLog log;
    LifeLogOptions options;
    options.width = 100;
    options.height = 100;
    options.generations = generations;
    options.seed = 1;
    options.density = 0.35;
    std::ostringstream out;
    EXPECT_TRUE(writeLifeLog(options, out, &log.summary));
    log.text = out.str();
    return log;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The first `count` lines of a text.
std::string head(const std::string& text, long long count) {
    size_t end = 0;
    for (long long i = 0; i < count && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        end = end == std::string::npos ? end : end + 1;
    }
    return end == std::string::npos ? text : text.substr(0, end);
}

// The strip's bar where it is filled, and white text over the bar.
bool isFilledBar(Image::Pixel p) {
    return p.r == 38 && p.g == 115 && p.b == 204;
}
bool isWhite(Image::Pixel p) {
    return p.r == 255 && p.g == 255 && p.b == 255;
}

using Clock = std::chrono::steady_clock;

// How long an import must last to be watched: a screenshot finds the bar, the terminal sees three updates,
// and Escape arrives before the end, with time to spare on a loaded machine.
constexpr double kWatchSeconds = 5.0;
// The largest log made for it (its log.txt alone takes about 180 bytes a line).
constexpr long long kMostLines = 2000000;

// A log that takes this program, on this machine, about kWatchSeconds to import, so that neither a faster
// machine nor a faster build makes the import too short to watch. The rate is measured first, with probe
// imports in a session of its own (the test's session logs only what the test does).
BigLog makeLogToWatch() {
    AppSession probeSession(kEveryMessage);
    EXPECT_TRUE(probeSession.started()) << probeSession.errors();
    double linesPerSecond = 0.0;
    for (int generations = 2; probeSession.started() && linesPerSecond == 0.0; generations *= 4) {
        const BigLog probe = makeBigLog(generations);
        const std::string name = "probe" + std::to_string(generations) + ".log";
        writeText(probeSession.workDir() + "/" + name, probe.text);
        probeSession.command("vis_new probe");
        probeSession.command("vis_import_logfile " + name);
        // From the Enter that starts the import to the answer that follows its end.
        const Clock::time_point start = Clock::now();
        if (!probeSession.sync(120)) {
            return BigLog{};
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        probeSession.command("vis_close");
        // A shorter probe measures mostly the time of answering.
        if (seconds >= 0.5 || generations >= 32) {
            linesPerSecond = static_cast<double>(probe.summary.lines) / seconds;
        }
    }
    const double wanted = std::min(static_cast<double>(kMostLines), linesPerSecond * kWatchSeconds);
    int generations = 2;
    BigLog log = makeBigLog(generations);
    while (static_cast<double>(log.summary.lines) < wanted && generations < 1000) {
        generations += generations / 2;
        log = makeBigLog(generations);
    }
    std::printf("import rate measured: %.0f lines a second; log of %lld lines\n", linesPerSecond,
                log.summary.lines);
    return log;
}

// Screenshots until one shows the bar in the strip (only an import in progress draws it), filled from its
// left end on its top and its bottom row: a picture taken while the window was being redrawn, or the
// first frames of a slow start (the bar a pixel or two long), are passed over. An invalid image when none
// does within the time.
Image screenshotDuringImport(AppSession& app, double seconds) {
    for (int tries = 0; tries < seconds * 10; ++tries) {
        Image shot = app.screenshot();
        if (shot.valid() && isFilledBar(shot.at(7, 6)) && isFilledBar(shot.at(7, 33))) {
            return shot;
        }
    }
    return Image{};
}

// Whether log.txt holds the log's last line, as the import logs each line it reads.
bool importedWhole(AppSession& app, const BigLog& log) {
    const size_t start = log.text.rfind('\n', log.text.size() - 2);
    const std::string last = log.text.substr(start == std::string::npos ? 0 : start + 1);
    const std::string text = app.log();
    const size_t at = text.find(last);
    return !last.empty() && at != std::string::npos && (at == 0 || text[at - 1] == '\n');
}

// A screenshot never showed the bar: either the import was over too soon, which says nothing about the
// program but that this machine outran the log, or the bar is missing.
std::string whyNoBar(AppSession& app, const BigLog& log) {
    return importedWhole(app, log) ? "import too fast to observe: " + std::to_string(log.summary.lines) +
                                         " lines were read before a screenshot could show the bar"
                                   : "no screenshot showed the progress bar";
}

size_t indexOf(const Lines& lines, const std::string& line, size_t from = 0) {
    return static_cast<size_t>(std::find(lines.begin() + static_cast<long>(from), lines.end(), line) -
                               lines.begin());
}

// The lines between two marker lines (each the log's answer to "vis_cell <marker> 0"), the garbage can's
// own lines left out.
Lines between(const Lines& lines, const std::string& from, const std::string& to) {
    Lines part;
    const size_t start = indexOf(lines, "No model named " + from);
    const size_t end = indexOf(lines, "No model named " + to);
    for (size_t i = start + 1; i < end && i < lines.size(); ++i) {
        if (lines[i].rfind("Disposing object", 0) != 0) {
            part.push_back(lines[i]);
        }
    }
    return part;
}

TEST(ImportProgressE2ETest, ALongImportShowsItsProgressAndInputWaitsForIt) {
    const BigLog log = makeLogToWatch();
    ASSERT_GT(log.summary.lines, 0);
    AppSession app(kEveryMessage, AppSession::ErrorOutput::Terminal);
    ASSERT_TRUE(app.started()) << app.errors();
    writeText(app.workDir() + "/big.log", log.text);
    const long long lines = log.summary.lines;

    app.command("vis_new big");
    app.command("vis_import_logfile big.log");
    // Typed while the import runs: they wait, and then run in order.
    app.command("time_goto end");
    app.key("grave");

    const Image during = screenshotDuringImport(app, 20);
    ASSERT_TRUE(during.valid()) << whyNoBar(app, log);
    // The bar is filled from its left end, and the text is written over it.
    const int filled = during.count(5, 5, 595, 35, isFilledBar);
    EXPECT_GT(filled, 0);
    EXPECT_LT(filled, 590 * 30);
    EXPECT_GT(during.count(5, 5, 595, 35, isWhite), 150) << "the progress text";
    // From the bar's left end (x = 5), however little of the file the screenshot caught read: a loaded
    // machine may show a bar only a pixel wide.
    int firstFilled = -1;
    for (int x = 0; x < 595 && firstFilled < 0; ++x) {
        firstFilled = isFilledBar(during.at(x, 30)) ? x : -1;
    }
    EXPECT_EQ(5, firstFilled);

    ASSERT_TRUE(app.sync(120)) << "the pointer move waits for the import and the input held behind it";
    const Lines logLines = app.logLines();
    const long long messages = log.summary.externalMessages + log.summary.outputMessages;
    EXPECT_EQ(static_cast<size_t>(messages),
              static_cast<size_t>(std::count(logLines.begin(), logLines.end(), "Adding event")))
        << "the whole import is in the log when the move is answered";
    // The held command ran after the last line was read, and found the run's last time.
    const auto timeLine = std::find_if(logLines.begin(), logLines.end(), [](const std::string& line) {
        return line.rfind("Current time: ", 0) == 0;
    });
    ASSERT_NE(logLines.end(), timeLine);
    EXPECT_NE("Current time: 00:00:00:000", *timeLine);
    EXPECT_EQ(logLines.end(), std::find(timeLine, logLines.end(), "Adding event"));

    // The strip shows its buttons again, and the held back-quote has closed the console.
    const Image after = app.settledScreenshot(TESS_SCREENSHOT_DIR "/import_progress_after.png");
    EXPECT_EQ(0, after.count(0, 0, 800, 600, isFilledBar));
    EXPECT_GT(after.count(205, 130, 590, 510,
                          [](Image::Pixel p) {
                              return std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 40;
                          }),
              100000)
        << "the imported cells, coloured by their values at the last time";
    EXPECT_EQ(0, after.count(10, 60, 200, 320, [](Image::Pixel p) { return p.r + p.g + p.b > 0; }))
        << "the console is closed";

    // The terminal saw one line, rewritten as the import went and ended with a line feed.
    const std::string terminal = app.errors();
    std::string grouped = std::to_string(lines);
    for (int at = static_cast<int>(grouped.size()) - 3; at > 0; at -= 3) {
        grouped.insert(static_cast<size_t>(at), ",");
    }
    const std::string last = "\rImporting big.log: 100 % (" + grouped + " lines)\n";
    ASSERT_GE(terminal.size(), last.size()) << terminal;
    EXPECT_EQ(last, terminal.substr(terminal.size() - last.size()));
    EXPECT_EQ(1, std::count(terminal.begin(), terminal.end(), '\n'));
    int updates = 0;
    int percent = -1;
    for (size_t at = terminal.find("\rImporting big.log: "); at != std::string::npos;
         at = terminal.find("\rImporting big.log: ", at + 1)) {
        const int shown = std::stoi(terminal.substr(at + 20));
        EXPECT_GE(shown, percent) << terminal;
        percent = shown;
        ++updates;
    }
    EXPECT_GE(updates, 3) << terminal;
}

TEST(ImportProgressE2ETest, EscapeCancelsTheImportAndKeepsWhatWasRead) {
    const BigLog log = makeLogToWatch();
    ASSERT_GT(log.summary.lines, 0);
    AppSession app(kEveryMessage);
    ASSERT_TRUE(app.started()) << app.errors();
    writeText(app.workDir() + "/big.log", log.text);

    app.command("vis_new big");
    app.command("vis_import_logfile big.log");
    ASSERT_TRUE(screenshotDuringImport(app, 20).valid()) << whyNoBar(app, log);
    app.key("Escape");
    // Had Escape also asked whether to exit, the box would take these keys and no listing would follow.
    app.command("vis_cell one 0");
    app.command("print VIS_ML");
    app.command("print VIS_EL");
    app.command("time_goto end");
    app.command("vis_cell life 50 50");
    app.command("vis_cell two 0");
    ASSERT_TRUE(app.sync(120));

    Lines lines = app.logLines();
    const auto cancelled = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Import cancelled after ", 0) == 0;
    });
    ASSERT_NE(lines.end(), cancelled)
        << (importedWhole(app, log) ? "import too fast to observe: it was over before Escape came"
                                    : "no cancel message");
    const long long read = std::stoll(cancelled->substr(23));
    EXPECT_EQ("Import cancelled after " + std::to_string(read) + " lines", *cancelled);
    EXPECT_GT(read, 0);
    EXPECT_LT(read, log.summary.lines);
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), *cancelled));

    // The same lines imported on their own give the same models, events, last time and cell.
    writeText(app.workDir() + "/prefix.log", head(log.text, read));
    app.command("vis_close");
    app.command("vis_new prefix");
    app.command("vis_import_logfile prefix.log");
    app.command("vis_cell three 0");
    app.command("print VIS_ML");
    app.command("print VIS_EL");
    app.command("time_goto end");
    app.command("vis_cell life 50 50");
    app.command("vis_cell four 0");
    ASSERT_TRUE(app.sync(120));
    lines = app.logLines();
    const Lines kept = between(lines, "one", "two");
    EXPECT_GT(kept.size(), static_cast<size_t>(read) / 10);
    EXPECT_EQ(kept, between(lines, "three", "four"));
    EXPECT_TRUE(app.running());
}

}  // namespace
