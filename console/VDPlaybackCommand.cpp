#include "console/VDPlaybackCommand.h"

#include <cctype>
#include <cstdlib>

#include "console/CommandArguments.h"
#include "control/VCPlayback.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDPlaybackCommand::VDPlaybackCommand(const std::string& name) : VDConsoleCommand(name) {}
VDPlaybackCommand::~VDPlaybackCommand() = default;

bool VDPlaybackCommand::parseRate(const std::string& token, double& rate) {
    // strtod alone would also take "inf", "nan", hexadecimal and leading blanks.
    size_t at = 0;
    size_t digits = 0;
    while (at < token.size() && std::isdigit(static_cast<unsigned char>(token[at]))) {
        ++at;
        ++digits;
    }
    if (at < token.size() && token[at] == '.') {
        ++at;
        while (at < token.size() && std::isdigit(static_cast<unsigned char>(token[at]))) {
            ++at;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-')) {
            ++at;
        }
        const size_t exponent = at;
        while (at < token.size() && std::isdigit(static_cast<unsigned char>(token[at]))) {
            ++at;
        }
        if (at == exponent) {
            return false;
        }
    }
    if (at != token.size()) {
        return false;
    }
    const double value = std::strtod(token.c_str(), nullptr);
    if (!VCPlayback::isValidRate(value)) {
        return false;
    }
    rate = value;
    return true;
}

bool VDPlaybackCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (m_name == "stop") {
        if (tokens.size() != 1) {
            commandargs::answer(reply, commandargs::usage(m_name));
            return false;
        }
        commandargs::answer(reply, "Stopping playback...");
        return true;
    }
    if (tokens.size() > 2 || (tokens.size() == 2 && !parseRate(tokens[1], m_rate))) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    commandargs::answer(reply, "Starting playback...");
    return true;
}

void VDPlaybackCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    if (m_name == "stop") {
        if (simulation == nullptr || !simulation->stopPlayback()) {
            logMessage("Nothing is playing");
        }
        return;
    }
    if (simulation == nullptr) {
        logMessage("Nothing to play");
        return;
    }
    if (m_rate > 0.0) {
        simulation->play(m_rate);
    } else {
        simulation->play();
    }
}
