#pragma once

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

  protected:
    SLSink* m_link;
};
