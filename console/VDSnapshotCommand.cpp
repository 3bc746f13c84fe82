#include "console/VDSnapshotCommand.h"

#include "console/CommandArguments.h"
#include "shell/Log.h"

namespace {
VDSnapshotCommand::Writer g_writer = nullptr;
}  // namespace

void VDSnapshotCommand::setWriter(Writer writer) {
    g_writer = writer;
}

VDSnapshotCommand::VDSnapshotCommand() : VDConsoleCommand("vis_snapshot") {}
VDSnapshotCommand::~VDSnapshotCommand() = default;

bool VDSnapshotCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2) {
        commandargs::answer(reply, commandargs::usage(m_name, " $file.png"));
        return false;
    }
    m_fileName = tokens[1];
    // The result is the reply, reported once the picture is written.
    reply.clear();
    return true;
}

void VDSnapshotCommand::execute() {
    if (g_writer == nullptr) {
        logMessage("Unable to write snapshot: %s: there is no window to draw", m_fileName.c_str());
    } else {
        int width = 0;
        int height = 0;
        std::string error;
        if (g_writer(m_fileName, width, height, error)) {
            logMessage("Snapshot written: %s (%dx%d)", m_fileName.c_str(), width, height);
        } else {
            logMessage("Unable to write snapshot: %s: %s", m_fileName.c_str(), error.c_str());
        }
    }
    dispose();
}
