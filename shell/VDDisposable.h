#pragma once

// Base of every object that finishes its work inside a call its own code is still running (an executed
// command, a message box that reported its button) and so cannot delete itself there: it hands itself to
// the garbage can instead. The destructor logs, so every deferred deletion shows in the log.
class VDDisposable {
  public:
    VDDisposable() = default;
    VDDisposable(const VDDisposable&) = default;
    VDDisposable& operator=(const VDDisposable&) = default;
    virtual ~VDDisposable();
};
