#include "simdata/SDEvent.h"

#include "shell/Log.h"

SDEvent::~SDEvent() = default;

void SDEvent::print() const {
    int h = 0, m = 0, s = 0, ms = 0;
    m_time.getComponents(h, m, s, ms);
    // Formatted straight into the log's reused buffer: printing happens for every imported line. The
    // names and port are arguments, never part of the format.
    logMessage("EVENT: Type: %s;Time: %02d:%02d:%02d:%03d;Src: %s;Port: %s;Value: %lf;Dest: %s",
               m_type == 0 ? "EXTERNAL" : "OUTPUT", h, m, s, ms, m_source.c_str(), m_port.c_str(), m_value,
               m_destination.c_str());
}
