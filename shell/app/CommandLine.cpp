#include "shell/app/CommandLine.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <utility>

#ifndef TESS_VERSION
#define TESS_VERSION "unknown"
#endif

namespace {

// GLUT reads these itself; the first two take a value.
bool isGlutOptionWithValue(const std::string& arg) {
    return arg == "-display" || arg == "-geometry";
}

bool isGlutFlag(const std::string& arg) {
    return arg == "-direct" || arg == "-indirect" || arg == "-iconic" || arg == "-gldebug" || arg == "-sync";
}

// A whole non-negative decimal number that fits an int; no sign, no blanks.
bool parseCount(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    long long read = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        read = read * 10 + (c - '0');
        if (read > INT_MAX) {
            return false;
        }
    }
    value = static_cast<int>(read);
    return true;
}

// Four whole numbers joined by colons, added up in milliseconds.
bool parseClockTime(const std::string& text, double& milliseconds) {
    static const double kUnits[] = {3600000.0, 60000.0, 1000.0, 1.0};
    double total = 0.0;
    int groups = 0;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t colon = text.find(':', at);
        const std::string group =
            text.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        int value = 0;
        if (groups == 4 || !parseCount(group, value)) {
            return false;
        }
        total += value * kUnits[groups];
        ++groups;
        if (colon == std::string::npos) {
            break;
        }
        at = colon + 1;
    }
    milliseconds = total;
    return groups == 4;
}

// "start", "end", or four whole numbers joined by colons.
bool isTimeArgument(const std::string& text) {
    double ignored = 0.0;
    return text == "start" || text == "end" || parseClockTime(text, ignored);
}

CommandLine failed(CommandLine line, const std::string& error) {
    line.action = CommandLine::Action::Error;
    line.error = error;
    return line;
}

}  // namespace

bool parseStep(const std::string& text, double& milliseconds) {
    double read = 0.0;
    if (!parseClockTime(text, read)) {
        static const std::pair<const char*, double> kUnits[] = {{"ms", 1.0}, {"min", 60000.0}, {"s", 1000.0}};
        const size_t digits = text.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string::npos) {
            return false;
        }
        int count = 0;
        if (!parseCount(text.substr(0, digits), count)) {
            return false;
        }
        const std::string unit = text.substr(digits);
        bool known = false;
        for (const auto& [name, scale] : kUnits) {
            if (unit == name) {
                read = count * scale;
                known = true;
            }
        }
        if (!known) {
            return false;
        }
    }
    if (!(read > 0.0)) {
        return false;
    }
    milliseconds = read;
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    int w = 0;
    int h = 0;
    if (!parseCount(text.substr(0, x), w) || !parseCount(text.substr(x + 1), h)) {
        return false;
    }
    if (w < MIN_SIDE || w > MAX_SIDE || h < MIN_SIDE || h > MAX_SIDE) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    line.glutArguments.push_back(argc > 0 && argv[0] != nullptr ? argv[0] : "tessaron");
    bool everyGiven = false;
    bool stepGiven = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            line.logs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (isGlutFlag(arg)) {
            line.glutArguments.push_back(arg);
            continue;
        }
        if (isGlutOptionWithValue(arg)) {
            if (i + 1 >= argc) {
                return failed(line, "option " + arg + " needs a value");
            }
            line.glutArguments.push_back(arg);
            line.glutArguments.push_back(argv[++i]);
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (arg == "--no-log") {
            line.noLog = true;
            continue;
        }
        if (arg == "--log-every-message") {
            line.logEveryMessage = true;
            continue;
        }

        // The options with a value, as "--name value" or "--name=value".
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        const size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        if (name != "--time" && name != "--snapshot" && name != "--frames" && name != "--every" &&
            name != "--size" && name != "--log" && name != "--palette" && name != "--command" &&
            name != "--video" && name != "--step" && name != "--fps") {
            return failed(line, "unknown option " + arg);
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                return failed(line, "option " + name + " needs a value");
            }
            value = argv[++i];
        }
        if (value.empty()) {
            return failed(line, "option " + name + " needs a value");
        }
        if (name == "--time") {
            if (!isTimeArgument(value)) {
                return failed(line, "--time wants HH:MM:SS:MS, start or end, not '" + value + "'");
            }
            line.time = value;
        } else if (name == "--snapshot") {
            line.snapshot = value;
        } else if (name == "--frames") {
            line.framesDir = value;
        } else if (name == "--video") {
            line.video = value;
        } else if (name == "--step") {
            if (!parseStep(value, line.step)) {
                return failed(line,
                              "--step wants a time above zero, HH:MM:SS:MS or a whole number of ms, s or "
                              "min (100ms), not '" +
                                  value + "'");
            }
            stepGiven = true;
        } else if (name == "--fps") {
            if (!parseCount(value, line.fps) || line.fps < MIN_FPS || line.fps > MAX_FPS) {
                return failed(line, "--fps wants a whole number in " + std::to_string(MIN_FPS) + ".." +
                                        std::to_string(MAX_FPS) + ", not '" + value + "'");
            }
        } else if (name == "--every") {
            if (!parseCount(value, line.every)) {
                // Digits too many for a count are a number too large, not something else.
                if (value.find_first_not_of("0123456789") == std::string::npos &&
                    value.find_first_not_of('0') != std::string::npos) {
                    return failed(line,
                                  "--every " + value + " is too large: at most " + std::to_string(INT_MAX));
                }
                return failed(line, "--every wants a whole number of at least 1, not '" + value + "'");
            }
            if (line.every < 1) {
                return failed(line, "--every wants a whole number of at least 1, not '" + value + "'");
            }
            everyGiven = true;
        } else if (name == "--size") {
            if (!parseSize(value, line.width, line.height)) {
                return failed(line, "--size wants WxH with each side in " + std::to_string(MIN_SIDE) + ".." +
                                        std::to_string(MAX_SIDE) + ", not '" + value + "'");
            }
        } else if (name == "--palette") {
            // MODEL=FILE, unless what comes before '=' is part of a path.
            const size_t split = value.find('=');
            CommandLine::Palette palette{"", value};
            if (split != std::string::npos && split > 0 && value.find('/') > split) {
                palette = CommandLine::Palette{value.substr(0, split), value.substr(split + 1)};
            }
            if (palette.file.empty()) {
                return failed(line, "--palette wants [MODEL=]FILE, not '" + value + "'");
            }
            line.palettes.push_back(palette);
        } else if (name == "--command") {
            line.commands.push_back(value);
        } else {
            line.logPath = value;
        }
    }

    if (!line.snapshot.empty() && !line.framesDir.empty()) {
        return failed(line, "--snapshot and --frames cannot be used together");
    }
    if (!line.video.empty() && (!line.snapshot.empty() || !line.framesDir.empty())) {
        return failed(line, std::string("--video and ") +
                                (line.snapshot.empty() ? "--frames" : "--snapshot") +
                                " cannot be used together");
    }
    if ((stepGiven || line.fps != 0) && line.framesDir.empty() && line.video.empty()) {
        return failed(line, std::string(stepGiven ? "--step" : "--fps") + " goes with --frames or --video");
    }
    if (stepGiven && everyGiven) {
        return failed(line, "--step and --every cannot be used together");
    }
    if (!line.video.empty() && line.logs.empty()) {
        return failed(line, "--video needs at least one LOG");
    }
    if (everyGiven && line.framesDir.empty()) {
        return failed(line, "--every goes with --frames");
    }
    if (!line.framesDir.empty() && line.logs.empty()) {
        return failed(line, "--frames needs at least one LOG");
    }
    if (!line.time.empty() && !line.framesDir.empty()) {
        return failed(line, "--time and --frames cannot be used together: the frames walk the whole run");
    }
    if (!line.time.empty() && line.logs.empty()) {
        return failed(line, "--time needs at least one LOG");
    }
    if (!line.palettes.empty() && line.logs.empty()) {
        return failed(line, "--palette needs at least one LOG or model file");
    }
    if (!line.commands.empty() && line.logs.empty()) {
        return failed(line, "--command needs at least one LOG or model file");
    }
    if (line.noLog && !line.logPath.empty()) {
        return failed(line, "--log and --no-log cannot be used together");
    }
    return line;
}

std::string commandLineUsage() {
    return "usage: tessaron [options] [LOG...]\n"
           "Opens the viewer. With LOGs, imports them in order into a visualization named after the first\n"
           "and shows the run. A file ending in .ma is a model file: the size and initial values of the\n"
           "run's cell spaces and the couplings of its models; logs and model files may come in any order.\n"
           "A grid scenario (a JSON file: size, origin and starting states of a cell space) is read before\n"
           "the logs, wherever it stands.\n"
           "  --time T          after the import, put the time cursor at T (HH:MM:SS:MS, start or end)\n"
           "  --snapshot FILE   import, draw one frame into the PNG file FILE and exit\n"
           "  --frames DIR      import, write the start and one PNG per event time into DIR, exit\n"
           "  --every N         with --frames: one picture every N event times (default 1)\n"
           "  --video FILE      import, write a video of the run into FILE (.mp4, .webm or .gif) through\n"
           "                    ffmpeg, exit; --time T starts it at T\n"
           "  --step T          with --frames or --video: one frame per T of simulated time (HH:MM:SS:MS,\n"
           "                    or 100ms, 2s, 1min) instead of one per event time\n"
           "  --fps N           with --frames or --video: frames a second, 1..60 (default: the run lasts\n"
           "                    at least 4 s, at most 30 frames a second)\n"
           "  --size WxH        window and picture size in pixels, 16..8192 each (default 800x600)\n"
           "  --palette [MODEL=]FILE  colour MODEL's cells (every cell space without MODEL=) from a palette\n"
           "                    file; may be given more than once\n"
           "  --command LINE    after the imports, run the console command LINE (vis_slice fallrock z 3);\n"
           "                    may be given more than once\n"
           "  --log PATH        write the log to PATH instead of ./log.txt\n"
           "  --no-log          write no log file (the console still shows it)\n"
           "  --log-every-message\n"
           "                    log the lines of every message an import reads (without it: those of\n"
           "                    the first 100,000, then one line every 100,000)\n"
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "  -display DISPLAY  the X display to use (read by GLUT)\n"
           "  -geometry WxH+X+Y the window's size and place (read by GLUT)\n"
           "  -iconic           start iconified (read by GLUT)\n"
           "  -direct           insist on direct rendering (read by GLUT)\n"
           "  -indirect         use indirect rendering (read by GLUT)\n"
           "  -sync             synchronous X calls, for debugging (read by GLUT)\n"
           "  -gldebug          report OpenGL errors (read by GLUT)\n"
           "A LOG that starts with '-' goes after '--'.\n";
}

std::string programVersion() {
    return std::string("tessaron ") + TESS_VERSION;
}

std::string visualizationNameFor(const std::string& logPath) {
    std::string name = logPath;
    // Trailing slashes say nothing about the name ("runs/" names the folder "runs").
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos && name.size() > 1) {
        name = name.substr(slash + 1);
    }
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return name;
}

bool isModelFileName(const std::string& path) {
    if (path.size() < 3) {
        return false;
    }
    const std::string tail = path.substr(path.size() - 3);
    return tail[0] == '.' && (tail[1] == 'm' || tail[1] == 'M') && (tail[2] == 'a' || tail[2] == 'A');
}
