#include "simdata/SDEvent.h"

#include "shell/Log.h"

SDEvent::~SDEvent() = default;

void SDEvent::print() const {
    printFields(m_type, m_time, m_source, m_port, m_value, m_destination);
}

void SDEvent::printFields(int type, const SDTime& time, const std::string& source, const std::string& port,
                          double value, const std::string& destination) {
    int h = 0, m = 0, s = 0, ms = 0;
    time.getComponents(h, m, s, ms);
    // Formatted straight into the log's reused buffer: printing happens for every imported line. The
    // names and port are arguments, never part of the format.
    logMessage("EVENT: Type: %s;Time: %02d:%02d:%02d:%03d;Src: %s;Port: %s;Value: %lf;Dest: %s",
               type == 0 ? "EXTERNAL" : "OUTPUT", h, m, s, ms, source.c_str(), port.c_str(), value,
               destination.c_str());
}
