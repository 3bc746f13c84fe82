#include "console/VDDEVSConsoleParser.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "console/PathCompletion.h"
#include "console/VDAddDetailNodeCommand.h"
#include "console/VDCellCommand.h"
#include "console/VDCloseCommand.h"
#include "console/VDColorCommand.h"
#include "console/VDExitCommand.h"
#include "console/VDFitViewCommand.h"
#include "console/VDImportLogFileCommand.h"
#include "console/VDImportModelCommand.h"
#include "console/VDMoveCameraCommand.h"
#include "console/VDNewCommand.h"
#include "console/VDPaletteCommand.h"
#include "console/VDPlaybackCommand.h"
#include "console/VDPrintObjectCommand.h"
#include "console/VDRangeCommand.h"
#include "console/VDRotateCameraCommand.h"
#include "console/VDSnapshotCommand.h"
#include "console/VDStateCommand.h"
#include "console/VDTimeCommand.h"
#include "shell/VDGarbageCan.h"

namespace {

std::unique_ptr<VDConsoleCommand> makeCommand(const std::string& name) {
    if (name == "exit") {
        return std::make_unique<VDExitCommand>();
    }
    if (name == "vis_new") {
        return std::make_unique<VDNewCommand>();
    }
    if (name == "vis_import_logfile") {
        return std::make_unique<VDImportLogFileCommand>();
    }
    if (name == "vis_close") {
        return std::make_unique<VDCloseCommand>();
    }
    if (name == "print") {
        return std::make_unique<VDPrintObjectCommand>();
    }
    if (name == "vis_add_detail_node") {
        return std::make_unique<VDAddDetailNodeCommand>();
    }
    if (name == "cam_move") {
        return std::make_unique<VDMoveCameraCommand>();
    }
    if (name == "cam_rotate") {
        return std::make_unique<VDRotateCameraCommand>();
    }
    if (name == "time_next" || name == "time_prev" || name == "time_goto") {
        return std::make_unique<VDTimeCommand>(name);
    }
    if (name == "vis_cell") {
        return std::make_unique<VDCellCommand>();
    }
    if (name == "vis_state") {
        return std::make_unique<VDStateCommand>();
    }
    if (name == "play" || name == "stop") {
        return std::make_unique<VDPlaybackCommand>(name);
    }
    if (name == "vis_color") {
        return std::make_unique<VDColorCommand>();
    }
    if (name == "vis_fit") {
        return std::make_unique<VDFitViewCommand>();
    }
    if (name == "vis_snapshot") {
        return std::make_unique<VDSnapshotCommand>();
    }
    if (name == "vis_import_model") {
        return std::make_unique<VDImportModelCommand>();
    }
    if (name == "vis_palette") {
        return std::make_unique<VDPaletteCommand>();
    }
    if (name == "vis_range") {
        return std::make_unique<VDRangeCommand>();
    }
    return nullptr;
}

}  // namespace

VDDEVSConsoleParser::VDDEVSConsoleParser() {
    // In alphabetical order, as Tab lists them.
    for (const char* name : {"cam_move",
                             "cam_rotate",
                             "exit",
                             "play",
                             "print",
                             "stop",
                             "time_goto",
                             "time_next",
                             "time_prev",
                             "vis_add_detail_node",
                             "vis_cell",
                             "vis_close",
                             "vis_color",
                             "vis_fit",
                             "vis_import_logfile",
                             "vis_import_model",
                             "vis_new",
                             "vis_palette",
                             "vis_range",
                             "vis_snapshot",
                             "vis_state"}) {
        addCommandName(name);
    }
}

VDDEVSConsoleParser::~VDDEVSConsoleParser() = default;

VDLineCompletion VDDEVSConsoleParser::completeLine(const std::string& line) const {
    for (const char* name : {"vis_import_logfile", "vis_snapshot", "vis_import_model"}) {
        const std::string lead = std::string(name) + " ";
        if (line.compare(0, lead.size(), lead) != 0) {
            continue;
        }
        VDLineCompletion completion;
        completion.line = line;
        const std::string partial = line.substr(lead.size());
        // One blank-free argument only: the command would refuse anything else.
        if (partial.find(' ') != std::string::npos) {
            return completion;
        }
        PathCompletion paths = completePath(partial);
        completion.line = lead + paths.completed;
        if (!paths.candidates.empty()) {
            completion.title = "File List:";
            const size_t shown = std::min(paths.candidates.size(), MAX_LISTED_FILES);
            completion.listing.assign(paths.candidates.begin(), paths.candidates.begin() + shown);
            if (shown < paths.candidates.size()) {
                completion.listing.push_back("... and " + std::to_string(paths.candidates.size() - shown) +
                                             " more");
            }
        }
        return completion;
    }
    return VDConsoleParser::completeLine(line);
}

bool VDDEVSConsoleParser::parse(std::string line, VDConsoleCommand** command, std::string& reply) {
    const std::vector<std::string> tokens = tokenize(line, " ");
    if (tokens.empty()) {
        return false;
    }
    std::unique_ptr<VDConsoleCommand> created = makeCommand(tokens.front());
    if (created == nullptr) {
        if (command != nullptr) {
            *command = nullptr;
        }
        reply = "Unknown command: " + tokens.front();
        return false;
    }
    if (created->parseArguments(tokens, reply) && command != nullptr) {
        *command = created.release();
        return true;
    }
    // Refused: the command is not used. It goes the way of every command, through the garbage can.
    if (VDGarbageCan* can = getGarbageCan()) {
        can->dispose(created.release());
    }
    if (command != nullptr) {
        *command = nullptr;
    }
    return false;
}
