#pragma once

// While one exists, Ctrl+C (SIGINT) and SIGTERM ask the work in progress to stop, instead of ending the
// process at once: work that writes a file then leaves no part of it behind. Escape asks the same through
// request(). The actions in place before come back when it goes, and a request made meanwhile is forgotten.
class Interruption {
  public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    static void request();
    static bool requested();
};
