#include "simdata/SDDevsModel.h"

#include <algorithm>

#include "shell/Log.h"

namespace {

bool contains(const std::vector<std::string>& ports, const std::string& port) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
}

int appendMissing(std::vector<std::string>& ports, const std::vector<std::string>& from) {
    int added = 0;
    for (const std::string& port : from) {
        if (!contains(ports, port)) {
            ports.push_back(port);
            ++added;
        }
    }
    return added;
}

void appendPortLine(std::vector<std::string>& lines, const char* label,
                    const std::vector<std::string>& ports) {
    std::string& line = lines.emplace_back(label);
    for (const std::string& port : ports) {
        line.append(port).append(" | ");
    }
}

}  // namespace

SDDevsModel::~SDDevsModel() = default;

bool SDDevsModel::hasInputPort(const std::string& port) const {
    return contains(m_inputPorts, port);
}

bool SDDevsModel::hasOutputPort(const std::string& port) const {
    return contains(m_outputPorts, port);
}

int SDDevsModel::mergePorts(const SDDevsModel* other) {
    if (other == nullptr || other->m_name != m_name) {
        return 0;
    }
    int added = appendMissing(m_inputPorts, other->m_inputPorts);
    return added + appendMissing(m_outputPorts, other->m_outputPorts);
}

bool SDDevsModel::holds(const SDDevsModel& offered) const {
    return !offered.isCellSpace() && holdsPorts(offered);
}

bool SDDevsModel::holdsPorts(const SDDevsModel& offered) const {
    const auto held = [](const std::vector<std::string>& mine, const std::vector<std::string>& theirs) {
        return std::all_of(theirs.begin(), theirs.end(),
                           [&mine](const std::string& port) { return contains(mine, port); });
    };
    return held(m_inputPorts, offered.m_inputPorts) && held(m_outputPorts, offered.m_outputPorts);
}

void SDDevsModel::print() const {
    std::vector<std::string> lines;
    describe(lines);
    logLines(lines);
}

void SDDevsModel::describe(std::vector<std::string>& lines) const {
    lines.emplace_back("Model Data:");
    // As "%s" would print it: up to a first NUL.
    lines.emplace_back("Name: ").append(m_name.c_str());
    appendPortLine(lines, "Input ports: ", m_inputPorts);
    appendPortLine(lines, "Output ports: ", m_outputPorts);
}

void SDDevsModel::reuseAs(std::string_view name) {
    m_name.assign(name);
    m_tag = 0;
    m_inputPorts.clear();
    m_outputPorts.clear();
}
