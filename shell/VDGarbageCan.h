#pragma once

#include <cstddef>
#include <vector>

#include "shell/VDDisposable.h"

// Objects awaiting deletion. The display callback empties the can at the start of every frame, so an
// object handed over during event handling stays usable until the call that handed it over returns.
class VDGarbageCan {
  public:
    VDGarbageCan() = default;
    VDGarbageCan(const VDGarbageCan&) = delete;
    VDGarbageCan& operator=(const VDGarbageCan&) = delete;
    // Deletes whatever is still pending, as empty() does.
    virtual ~VDGarbageCan();

    // Takes ownership of `object`. The hand-over is a raw pointer by nature: the object is usually `this`
    // of the caller, which cannot give up a smart pointer to itself. Each object is handed over once.
    void dispose(VDDisposable* object);

    // Deletes every pending object in hand-over order and leaves the can empty.
    void empty();

    std::size_t pendingCount() const { return m_items.size(); }

  private:
    std::vector<VDDisposable*> m_items;  // owned
};

// The process-wide can: created once at start-up, null before and after.
VDGarbageCan* createGarbageCan();
VDGarbageCan* getGarbageCan();
// Empties the can, deletes it and forgets it.
void destroyGarbageCan();
