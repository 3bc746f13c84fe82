#pragma once

#include <string>

class SLSink;

// A source of simulation data. It keeps nothing itself: everything it reads goes to its sink.
class SLBase {
  public:
    // The sink is not owned and must outlive the loader; a null sink refuses everything.
    explicit SLBase(SLSink* link) : m_link(link) {}
    SLBase(const SLBase&) = delete;
    SLBase& operator=(const SLBase&) = delete;

    virtual ~SLBase();
    // Reads the whole source into the sink; false after a log line when it could not.
    virtual bool load() = 0;
    // The log line that said why the last load failed; empty after a load that did not fail.
    const std::string& getFailure() const { return m_failure; }

  protected:
    // Logs the printf-style message, keeps it as the failure and returns false.
    bool failed(const char* format, ...) __attribute__((format(printf, 2, 3)));

    SLSink* m_link;
    std::string m_failure;
};
