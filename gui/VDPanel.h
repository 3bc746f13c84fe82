#pragma once

#include <memory>
#include <string>

#include "gui/VDWindow.h"

class VDTextButton;

// A framed, titled window that the user drags by its title bar and resizes by its edges, with an optional
// close button in the top-right corner.
class VDPanel : public VDWindow {
  public:
    // Edge and title bits of m_resizeEdges and m_highlight.
    static constexpr int EDGE_LEFT = 1;
    static constexpr int EDGE_RIGHT = 2;
    static constexpr int EDGE_TOP = 4;
    static constexpr int EDGE_BOTTOM = 8;
    static constexpr int TITLE_BAR = 16;

    VDPanel();
    ~VDPanel() override;

    bool handleEvent(VDEvent* event) override;
    // Places the close button in the new top-right corner, then scales the children.
    void setRectangle(const VDRect& rect) override;
    // Ends a drag or resize in progress.
    void inputLost() override;

    // Creates the close button (caption "X") or destroys it.
    void setCloseButton(bool on);
    bool hasCloseButton() const { return m_closeButton != nullptr; }
    VDTextButton* getCloseButton() const { return m_closeButton.get(); }

    void setTitle(const std::string& title) { m_title = title; }
    const std::string& getTitle() const { return m_title; }
    void setMovable(bool movable) { m_movable = movable; }
    bool isMovable() const { return m_movable; }
    void setResizable(bool resizable) { m_resizable = resizable; }
    bool isResizable() const { return m_resizable; }
    float getTitleHeight() const { return m_titleHeight; }
    float getMargin() const { return m_margin; }
    // The least width and height a resize by the edges leaves.
    float getMinimumSize() const { return 32.0f * m_margin; }
    // An opaque panel hides what lies under it; the others let it show through a little.
    void setOpaque(bool opaque) { m_opaque = opaque; }
    bool isOpaque() const { return m_opaque; }
    bool isDragging() const { return m_dragging; }
    int getResizeEdges() const { return m_resizeEdges; }
    int getHighlight() const { return m_highlight; }

  protected:
    // The edge strips under (x, y): 1 or 2, and 8 or 4.
    int edgesAt(float x, float y) const;
    bool inTitleBar(float x, float y) const;

    // Not among m_children: the panel places it and forwards events to it itself.
    std::unique_ptr<VDTextButton> m_closeButton;
    bool m_movable = true;
    bool m_resizable = true;
    bool m_opaque = false;
    float m_titleHeight = 20.0f;
    float m_margin = 5.0f;
    std::string m_title;
    bool m_dragging = false;
    int m_resizeEdges = 0;
    int m_highlight = 0;
    float m_grabX = 0.0f;
    float m_grabY = 0.0f;
};
