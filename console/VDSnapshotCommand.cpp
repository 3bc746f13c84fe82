#include "console/VDSnapshotCommand.h"

#include <sys/stat.h>

#include <cstdio>

#include "console/CommandArguments.h"
#include "shell/Log.h"

namespace {
VDSnapshotCommand::Writer g_writer = nullptr;
}  // namespace

void VDSnapshotCommand::setWriter(Writer writer) {
    g_writer = writer;
}

std::string VDSnapshotCommand::nextFreeName(const std::string& folder) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "snapshot_%03d.png", n);
        struct stat info;
        if (::lstat((prefix + name).c_str(), &info) != 0) {
            return prefix + name;
        }
    }
}

VDSnapshotCommand::VDSnapshotCommand() : VDConsoleCommand("vis_snapshot") {}
VDSnapshotCommand::~VDSnapshotCommand() = default;

bool VDSnapshotCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    m_wholeWindow = tokens.size() == 3 && tokens[1] == "--window";
    if (tokens.size() != (m_wholeWindow ? 3u : 2u) || tokens.back().empty()) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_fileName = tokens.back();
    // The result is the reply, reported once the picture is written.
    reply.clear();
    return true;
}

void VDSnapshotCommand::execute() {
    m_succeeded = false;
    if (g_writer == nullptr) {
        logMessage("Unable to write snapshot: %s: there is no window to draw", m_fileName.c_str());
    } else {
        int width = 0;
        int height = 0;
        std::string error;
        if (g_writer(m_fileName, m_wholeWindow, width, height, error)) {
            m_succeeded = true;
            logMessage("Snapshot written: %s (%dx%d)", m_fileName.c_str(), width, height);
        } else {
            logMessage("Unable to write snapshot: %s: %s", m_fileName.c_str(), error.c_str());
        }
    }
    dispose();
}
