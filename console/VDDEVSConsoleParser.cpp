#include "console/VDDEVSConsoleParser.h"

#include <memory>
#include <vector>

#include "console/VDAddDetailNodeCommand.h"
#include "console/VDCloseCommand.h"
#include "console/VDColorCommand.h"
#include "console/VDExitCommand.h"
#include "console/VDFitViewCommand.h"
#include "console/VDImportLogFileCommand.h"
#include "console/VDMoveCameraCommand.h"
#include "console/VDNewCommand.h"
#include "console/VDPrintObjectCommand.h"
#include "console/VDRotateCameraCommand.h"
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
    if (name == "vis_color") {
        return std::make_unique<VDColorCommand>();
    }
    if (name == "vis_fit") {
        return std::make_unique<VDFitViewCommand>();
    }
    return nullptr;
}

}  // namespace

VDDEVSConsoleParser::VDDEVSConsoleParser() {
    for (const char* name : {"cam_move", "cam_rotate", "exit", "print", "vis_add_detail_node", "vis_close",
                             "vis_color", "vis_fit", "vis_import_logfile", "vis_new"}) {
        addCommandName(name);
    }
}

VDDEVSConsoleParser::~VDDEVSConsoleParser() = default;

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
