#include "shell/VDGarbageCan.h"

namespace {
// Owning, but deliberately not a smart pointer: a can left at process end must not be destroyed during
// static destruction, when the log and the settings it writes through may already be gone.
VDGarbageCan* g_garbageCan = nullptr;
}  // namespace

VDGarbageCan::~VDGarbageCan() {
    // The can owns what it holds: a can deleted while objects are pending deletes them rather than leaking.
    empty();
}

void VDGarbageCan::dispose(VDDisposable* object) {
    m_items.push_back(object);
}

void VDGarbageCan::empty() {
    // Walked by index: a destructor that hands another object over appends to the list, and that object is
    // deleted in the same walk, after the others.
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        VDDisposable* item = m_items[i];
        m_items[i] = nullptr;
        delete item;
    }
    m_items.clear();
}

VDGarbageCan* createGarbageCan() {
    if (g_garbageCan == nullptr) {
        g_garbageCan = new VDGarbageCan();
    }
    return g_garbageCan;
}

VDGarbageCan* getGarbageCan() {
    return g_garbageCan;
}

void destroyGarbageCan() {
    if (g_garbageCan != nullptr) {
        g_garbageCan->empty();
        delete g_garbageCan;
        g_garbageCan = nullptr;
    }
}
