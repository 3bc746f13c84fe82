#pragma once

#include <memory>
#include <vector>

#include "gui/VDContainer.h"
#include "gui/VDEventGenerator.h"
#include "gui/VDEventListener.h"

// The base of every window: a rectangle in GUI coordinates (origin bottom left, y up) that owns an ordered
// list of children, tracks which child holds the keyboard focus, and passes events up to its parent and
// down to its children. A child's index in m_children is also its index among the generator's listeners.
class VDWindow : public VDEventListener, public VDEventGenerator {
  public:
    VDWindow();
    ~VDWindow() override;

    // Focus tracking: a selection click focuses the first child under the pointer, the focus keys cycle.
    bool handleEvent(VDEvent* event) override;
    // Builds the window's contents once it has been placed.
    virtual void initialise();
    // Moves and resizes the window, scaling every child in proportion.
    virtual void setRectangle(const VDRect& rect);
    // The window stops receiving input (another receiver took over): a press or drag in progress would
    // never see its release, so it ends here. Passed on to every child.
    virtual void inputLost();

    // Takes ownership of `child`, registers it as a downward listener and returns its index. The caller
    // then makes this window its parent with setParent.
    int addChild(std::unique_ptr<VDWindow> child);
    void setParent(VDWindow* parent);
    VDWindow* getParent() const { return m_parent; }

    VDRect getRectangle() const { return m_rect; }
    void setFocused(bool focused) { m_focused = focused; }
    bool isFocused() const { return m_focused; }
    void setId(int id) { m_id = id; }
    int getId() const { return m_id; }

    int getChildCount() const { return static_cast<int>(m_children.size()); }
    VDWindow* getChild(int index) const;
    int getFocusIndex() const { return m_focusIndex; }
    void setFocusIndex(int index) { m_focusIndex = index; }

    // The pass-on step every handler ends with: the focused child first (its focus flag brought up to
    // date), then, unless it claimed the event, the generator's routing. Returns whether the focused
    // child handled the event.
    bool dispatch(VDEvent* event);

  protected:
    // Tells the main window this window's look changed.
    void requestRedisplay();

    VDWindow* m_parent = nullptr;
    std::vector<std::unique_ptr<VDWindow>> m_children;
    VDRect m_rect{0.0f, 0.0f, 1.0f, 1.0f};
    int m_id = 0;
    bool m_focused = false;
    int m_focusIndex = 0;
};
