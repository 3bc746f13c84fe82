#include "console/VDDEVSConsoleParser.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "console/CommandArguments.h"
#include "console/CommandTable.h"
#include "console/PathCompletion.h"
#include "control/VCSimulation.h"
#include "gui/VDConsoleCommand.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDVisualization.h"

namespace {

bool isFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file listing of a completion, cut to the longest listing shown.
void listFiles(const std::vector<std::string>& candidates, VDLineCompletion& completion) {
    if (candidates.empty()) {
        return;
    }
    completion.title = "File List:";
    const size_t shown = std::min(candidates.size(), VDDEVSConsoleParser::MAX_LISTED_FILES);
    completion.listing.assign(candidates.begin(), candidates.begin() + static_cast<long>(shown));
    if (shown < candidates.size()) {
        completion.listing.push_back("... and " + std::to_string(candidates.size() - shown) + " more");
    }
}

// Completes the path that follows `lead`. Typed after a quote it may hold blanks, and a whole file name
// closes the quote.
VDLineCompletion completePathAfter(const std::string& lead, const std::string& partial) {
    VDLineCompletion completion;
    completion.line = lead + partial;
    const bool quoted = !partial.empty() && partial[0] == '"';
    const std::string path = quoted ? partial.substr(1) : partial;
    // One argument only, and a quote left open at most: the command would refuse anything else.
    if (path.find('"') != std::string::npos || (!quoted && path.find(' ') != std::string::npos)) {
        return completion;
    }
    const PathCompletion paths = completePath(path, quoted);
    if (quoted) {
        const bool whole = paths.candidates.empty() && isFile(paths.completed);
        completion.line = lead + "\"" + paths.completed + (whole ? "\"" : "");
    } else {
        completion.line = lead + paths.completed;
    }
    listFiles(paths.candidates, completion);
    return completion;
}

}  // namespace

VDDEVSConsoleParser::VDDEVSConsoleParser() {
    for (const CommandEntry& entry : commandtable::entries()) {
        addCommandName(entry.name);
    }
}

VDDEVSConsoleParser::~VDDEVSConsoleParser() = default;

VDLineCompletion VDDEVSConsoleParser::completeLine(const std::string& line) const {
    for (const char* lead : {"vis_model ", "vis_messages ", "vis_field "}) {
        const std::string modelLead(lead);
        if (line.compare(0, modelLead.size(), modelLead) == 0) {
            return completeModelName(modelLead, line.substr(modelLead.size()));
        }
    }
    for (const char* lead :
         {"vis_import_logfile ", "vis_import_model ", "vis_snapshot --window ", "vis_snapshot "}) {
        const std::string typed(lead);
        if (line.compare(0, typed.size(), typed) == 0) {
            return completePathAfter(typed, line.substr(typed.size()));
        }
    }
    // After "help " the name of a command.
    const std::string help = "help ";
    if (line.compare(0, help.size(), help) == 0) {
        VDLineCompletion completion;
        completion.line = line;
        const std::string partial = line.substr(help.size());
        if (partial.find(' ') != std::string::npos) {
            return completion;
        }
        std::vector<std::string> matches = getCompletions(partial);
        if (matches.size() == 1) {
            completion.line = help + matches.front();
        } else if (matches.size() > 1) {
            completion.title = "Command List:";
            completion.listing = std::move(matches);
        }
        return completion;
    }
    return VDConsoleParser::completeLine(line);
}

void VDDEVSConsoleParser::commandExecuted() {
    if (VCSimulation* simulation = getSimulation()) {
        simulation->sceneChanged();
    }
}

bool VDDEVSConsoleParser::parse(std::string line, VDConsoleCommand** command, std::string& reply) {
    std::vector<std::string> tokens = tokenize(line, " ");
    if (tokens.empty()) {
        return false;
    }
    const CommandEntry* entry = commandtable::find(tokens.front());
    if (entry == nullptr) {
        if (command != nullptr) {
            *command = nullptr;
        }
        reply = "Unknown command: " + tokens.front();
        return false;
    }
    std::unique_ptr<VDConsoleCommand> created = entry->make(tokens.front());
    bool accepted = true;
    if (entry->quotedArguments && !commandargs::splitQuoted(line, tokens)) {
        // A quote left open: the arguments cannot be read.
        accepted = false;
        commandargs::answer(reply, commandargs::usage(entry->name));
    }
    if (accepted && created->parseArguments(tokens, reply) && command != nullptr) {
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
        const std::string_view name = tree.name(model);
        if (name.compare(0, partial.size(), partial) == 0) {
            names.emplace_back(name);
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
