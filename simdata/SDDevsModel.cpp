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

// "<label>" then "<port> | " for each port, as one log line. Records are printed for every imported line,
// so the line is built in a buffer that is reused rather than allocated each time.
void logPortLine(const char* label, const std::vector<std::string>& ports) {
    static std::string line;
    line.assign(label);
    for (const std::string& port : ports) {
        line.append(port).append(" | ");
    }
    logText(line);
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

void SDDevsModel::print() const {
    logMessage("Model Data:");
    logMessage("Name: %s", m_name.c_str());
    logPortLine("Input ports: ", m_inputPorts);
    logPortLine("Output ports: ", m_outputPorts);
}

void SDDevsModel::reuseAs(std::string_view name) {
    m_name.assign(name);
    m_tag = 0;
    m_inputPorts.clear();
    m_outputPorts.clear();
}
