#pragma once

#include "gui/VDKey.h"

class VDWindow;
class VDLabel;
class VDTextBox;
class VDEditBox;
class VDPanel;
class VDPlotPanel;
class VDScrollBar;
class VDTextButton;

// How every kind of widget looks, which keys and buttons have toolkit-wide meanings, and the 2D drawing
// pass. Widgets call the public draw operations; the do-operations are the theme's implementation.
class VDTheme {
  public:
    VDTheme() = default;
    VDTheme(const VDTheme&) = delete;
    VDTheme& operator=(const VDTheme&) = delete;
    virtual ~VDTheme();

    // Creates fonts, colours and the global GL state.
    virtual void initialise() = 0;
    // Frees the fonts' GL resources.
    virtual void release() = 0;
    // How many text lines a text box of the window's height shows.
    virtual int visibleLines(const VDWindow* window) const = 0;
    virtual void begin2D(float width, float height) = 0;
    virtual void end2D() = 0;

    void drawLabel(VDLabel* window);
    void drawTextBox(VDTextBox* window);
    void drawEditBox(VDEditBox* window);
    void drawPanel(VDPanel* window);
    void drawScrollBar(VDScrollBar* window);
    void drawTextButton(VDTextButton* window);
    // A plot's axes, steps, legend and cursor, inside the frame drawPanel drew.
    void drawPlot(VDPlotPanel* window);
    void clearScreen();

    virtual int doDrawLabel(VDLabel* window) = 0;
    virtual int doDrawTextBox(VDTextBox* window) = 0;
    virtual int doDrawEditBox(VDEditBox* window) = 0;
    virtual int doDrawPanel(VDPanel* window) = 0;
    virtual int doDrawScrollBar(VDScrollBar* window) = 0;
    virtual int doDrawTextButton(VDTextButton* window) = 0;
    virtual int doDrawPlot(VDPlotPanel* window) = 0;
    virtual int doClearScreen() = 0;

    virtual bool isCutKey(const VDKey& key) const = 0;
    virtual bool isCopyKey(const VDKey& key) const = 0;
    virtual bool isPasteKey(const VDKey& key) const = 0;
    // The button that gives a child the focus.
    virtual bool isSelectButton(int button) const = 0;
    virtual bool isNextFocusKey(const VDKey& key) const = 0;
    virtual bool isPreviousFocusKey(const VDKey& key) const = 0;
    // The button that resizes a panel by its edge.
    virtual bool isResizeButton(int button) const = 0;
    // The button that drags a panel by its title bar.
    virtual bool isMoveButton(int button) const = 0;
    // The button that drags a scroll bar's thumb.
    virtual bool isScrollButton(int button) const = 0;
    virtual bool isDownKey(const VDKey& key) const = 0;

    // 0 after begin2D; 1 once a draw operation has reported 1.
    int getStatus() const { return m_status; }

  protected:
    int m_status = 0;
};
