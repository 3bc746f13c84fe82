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
#include "console/VDModelCommand.h"
#include "console/VDMoveCameraCommand.h"
#include "console/VDNewCommand.h"
#include "console/VDPlaybackCommand.h"
#include "console/VDPrintObjectCommand.h"
#include "console/VDRotateCameraCommand.h"
#include "console/VDSnapshotCommand.h"
#include "console/VDStateCommand.h"
#include "console/VDTimeCommand.h"
#include "control/VCSimulation.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDVisualization.h"

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
    if (name == "vis_model") {
        return std::make_unique<VDModelCommand>();
    }
    return nullptr;
}

}  // namespace

VDDEVSConsoleParser::VDDEVSConsoleParser() {
    // In alphabetical order, as Tab lists them.
    for (const char* name :
         {"cam_move", "cam_rotate", "exit", "play", "print", "stop", "time_goto", "time_next", "time_prev",
          "vis_add_detail_node", "vis_cell", "vis_close", "vis_color", "vis_fit", "vis_import_logfile",
          "vis_model", "vis_new", "vis_snapshot", "vis_state"}) {
        addCommandName(name);
    }
}

VDDEVSConsoleParser::~VDDEVSConsoleParser() = default;

VDLineCompletion VDDEVSConsoleParser::completeLine(const std::string& line) const {
    const std::string modelLead = "vis_model ";
    if (line.compare(0, modelLead.size(), modelLead) == 0) {
        return completeModelName(modelLead, line.substr(modelLead.size()));
    }
    for (const char* name : {"vis_import_logfile", "vis_snapshot"}) {
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

VDLineCompletion VDDEVSConsoleParser::completeModelName(const std::string& lead, const std::string& partial) {
    VDLineCompletion completion;
    completion.line = lead + partial;
    const SDVisualization* visualization = getVisualization();
    if (visualization == nullptr || partial.find(' ') != std::string::npos) {
        return completion;
    }
    const SDModelTree& tree = visualization->getStructure()->tree();
    std::vector<std::string> names;
    for (uint32_t model = 0; model < tree.size(); ++model) {
        const std::string& name = tree.name(model);
        if (name.compare(0, partial.size(), partial) == 0) {
            names.push_back(name);
        }
    }
    if (names.empty()) {
        return completion;
    }
    std::sort(names.begin(), names.end());
    // As far as every candidate agrees; the candidates are listed when that adds nothing.
    std::string shared = names.front();
    for (const std::string& name : names) {
        size_t same = 0;
        while (same < shared.size() && same < name.size() && shared[same] == name[same]) {
            ++same;
        }
        shared.resize(same);
    }
    if (names.size() == 1) {
        completion.line = lead + names.front();
    } else if (shared.size() > partial.size()) {
        completion.line = lead + shared;
    } else {
        completion.title = "Model List:";
        const size_t shown = std::min(names.size(), MAX_LISTED_FILES);
        completion.listing.assign(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(shown));
        if (shown < names.size()) {
            completion.listing.push_back("... and " + std::to_string(names.size() - shown) + " more");
        }
    }
    return completion;
}
