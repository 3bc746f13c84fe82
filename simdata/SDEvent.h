#pragma once

#include <string>

#include "simdata/SDTime.h"

// One message of a simulation run as the simulator logged it. The loader fills the fields directly.
class SDEvent {
  public:
    SDEvent() = default;
    SDEvent(const SDEvent&) = default;
    SDEvent& operator=(const SDEvent&) = default;
    SDEvent(SDEvent&&) = default;
    SDEvent& operator=(SDEvent&&) = default;

    virtual ~SDEvent();
    virtual int getType() const { return m_type; }
    virtual SDTime getTime() const { return m_time; }
    virtual std::string getSource() const { return m_source; }
    virtual std::string getDestination() const { return m_destination; }
    virtual std::string getPort() const { return m_port; }
    virtual double getValue() const { return m_value; }
    // Writes the event to the log as one line.
    virtual void print() const;

    // The line print() writes, from an event's parts; the event list prints the events it holds with it.
    static void printFields(int type, const SDTime& time, const std::string& source, const std::string& port,
                            double value, const std::string& destination);

    SDTime m_time;
    // An output that carries the number of a state a format logs as text. In a run that has them, a
    // cell's value comes from these alone; everywhere else it is an output message.
    static constexpr int kStateType = 2;

    int m_type = 0;  // 0 external message, anything else an output message
    std::string m_source;
    std::string m_destination;
    std::string m_port;
    double m_value = 0.0;
};
