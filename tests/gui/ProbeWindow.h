#pragma once

#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDWindow.h"

// A window that records every event it receives as "name:type" in a shared journal, answers with a fixed
// result, and can be told to count its own destruction.
class ProbeWindow : public VDWindow {
  public:
    ProbeWindow(std::string name, std::vector<std::string>* journal, bool result = false)
        : m_name(std::move(name)), m_journal(journal), m_result(result) {}
    ~ProbeWindow() override {
        if (m_destroyed != nullptr) {
            ++*m_destroyed;
        }
    }

    bool handleEvent(VDEvent* event) override {
        m_journal->push_back(m_name + ":" + std::to_string(event->getType()));
        if (auto* raised = dynamic_cast<VDWindowEvent*>(event)) {
            lastSourceId = raised->getSourceId();
        }
        if (auto* scrolled = dynamic_cast<VDScrollValueEvent*>(event)) {
            lastValue = scrolled->getValue();
        }
        return m_result;
    }

    void countDestruction(int* counter) { m_destroyed = counter; }
    int lastSourceId = -1;
    int lastValue = -1;
    void setResult(bool result) { m_result = result; }

  private:
    std::string m_name;
    std::vector<std::string>* m_journal;
    bool m_result;
    int* m_destroyed = nullptr;
};

// Places `child` in `parent` as the toolkit's composite widgets do, and returns it.
template <class T>
T* adopt(VDWindow& parent, std::unique_ptr<T> child, const VDRect& rect) {
    T* raw = child.get();
    parent.addChild(std::move(child));
    raw->setParent(&parent);
    raw->setRectangle(rect);
    return raw;
}

// An event that claims a type code its class does not have.
class ImpostorEvent : public VDEvent {
  public:
    explicit ImpostorEvent(int type) : m_claimed(type) { ImpostorEvent::assignType(); }
    void assignType() override { m_type = m_claimed; }

  private:
    int m_claimed;
};
