#pragma once

#include <string>
#include <vector>

// What the user asked for on the command line: `tessaron [options] [LOG | MODEL.ma ...]`. Read before GLUT
// is set up, so that --help, --version and mistakes are answered without a display.
struct CommandLine {
    enum class Action {
        Run,      // open the window (and import the logs, if any)
        Help,     // print the usage to standard output, exit 0
        Version,  // print the version to standard output, exit 0
        Error,    // print `error` and the usage to standard error, exit 2
    };

    Action action = Action::Run;
    std::string error;

    std::vector<std::string> logs;  // in the order given; model files (.ma) among them
    std::string time;               // --time: "HH:MM:SS:MS", "start" or "end"; empty when not given
    std::string snapshot;           // --snapshot: the PNG to write
    std::string framesDir;          // --frames: the folder for the frame sequence
    int every = 1;                  // --every: one frame per this many event times
    std::string video;              // --video: the MP4, WebM or GIF file to write
    double step = 0.0;              // --step: milliseconds of simulated time per frame; 0: one per event time
    int fps = 0;      // --fps: frames a second of the video; 0: as fits the run (defaultFrameRate)
    int width = 800;  // --size
    int height = 600;
    std::string logPath;  // --log; empty: ./log.txt
    bool noLog = false;   // --no-log
    // --log-every-message: an import logs the lines of every message, not of the first 100,000 only.
    bool logEveryMessage = false;
    // --palette [MODEL=]FILE, in the order given; an empty model: every cell space.
    struct Palette {
        std::string model;
        std::string file;
    };
    std::vector<Palette> palettes;
    // --command LINE, in the order given: console commands run after the imports.
    std::vector<std::string> commands;

    // GLUT's own options (-display, -geometry, ...) with their values and the program name first, in the
    // order given: what glutInit is to see.
    std::vector<std::string> glutArguments;

    // A run that draws its pictures and ends instead of waiting for input.
    bool drawsAndExits() const { return !snapshot.empty() || !framesDir.empty() || !video.empty(); }
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// Every option, one line each, after a line that shows the form of the command.
std::string commandLineUsage();
std::string programVersion();

// The visualization name for a log: its file name without folders and without the last extension
// ("samples/life_20x20.log" gives "life_20x20"). A name that is all extension (".log") stays whole.
std::string visualizationNameFor(const std::string& logPath);

// Whether a file of the command line is a model file (its name ends in ".ma", in any case) rather than a
// log.
bool isModelFileName(const std::string& path);

// A step of simulated time: "HH:MM:SS:MS", or a whole number with a unit, "100ms", "2s" or "1min". True,
// with the milliseconds, for a step above zero.
bool parseStep(const std::string& text, double& milliseconds);
constexpr int MIN_FPS = 1;
constexpr int MAX_FPS = 60;

// "WxH" with whole numbers in MIN_SIDE..MAX_SIDE on either side.
bool parseSize(const std::string& text, int& width, int& height);
constexpr int MIN_SIDE = 16;
constexpr int MAX_SIDE = 8192;
