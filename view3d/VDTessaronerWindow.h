#pragma once

#include <memory>

#include "gui/VDWindow.h"
#include "view3d/VDCamera.h"
#include "view3d/VDCellSelection.h"
#include "view3d/VDFrozenPicture.h"
#include "view3d/VDPickRay.h"

class VDPanel;
class VDTextButton;
class VDTimeBar;
class VDTimeLabel;

// The window that shows the 3D scene: it owns a first-person camera, draws a reference grid and the
// current visualization through the simulation controller, and lets a strip of buttons draw over the
// picture. Mouse drags, the buttons and the console's camera events move and turn the camera.
//
// The strip also drives time: "Play" and "Stop", a label with the current and the last event time, and a
// time bar along its bottom edge. Keys move time too: Space plays or stops, Right and Left step to the
// next or the previous event time, Home and End go to the first and the last; `f` fits the view to the
// cells as vis_fit does.
//
// A left click on a cell (pressed and released within kClickSlop pixels, off the strip) selects it: the
// cube is outlined, its vis_cell line is logged, and the strip shows its value. A click on nothing clears
// the selection. Between press and release the drag turns the camera as always.
//
// While a log import runs, the picture is not drawn from the half-imported run (that would cost a full
// redraw of a growing scene several times a second, and show it half built): the window shows the picture
// as it was when the import began, with the import's progress over the strip (VDImportStrip).
class VDTessaronerWindow : public VDWindow {
  public:
    // Button ids, also the source ids of the press events they raise.
    static constexpr int PLAY_BUTTON_ID = 65000;
    static constexpr int STOP_BUTTON_ID = 65001;
    static constexpr int CONSOLE_BUTTON_ID = 65002;
    static constexpr int MOVE_FORWARD_BUTTON_ID = 65003;
    static constexpr int TIME_BAR_ID = 65004;
    // How far the pointer may move between a press and its release for them to make a click.
    static constexpr int kClickSlop = 3;

    VDTessaronerWindow();
    ~VDTessaronerWindow() override;

    bool handleEvent(VDEvent* event) override;
    // Builds the button strip along the top edge of the window's rectangle.
    void initialise() override;
    // Stores the rectangle, fits the camera's aspect ratio to it, and keeps the strip along its top edge:
    // the strip follows the window's width (ending 200 short of its right edge, at least 600 wide or as
    // wide as the window), its buttons keep their places, and the time label and time bar stretch with it.
    void setRectangle(const VDRect& rect) override;
    // A drag cut short by the console or a message box ends: its mouse-up goes to them.
    void inputLost() override;
    // Draws the 3D picture with its overlay into the back buffer and keeps it, for the frames drawn while an
    // import runs; the program calls it as an import begins. Needs the window's GL context and a theme.
    void freezePicture();
    const VDFrozenPicture& getFrozenPicture() const { return m_frozen; }

    VDCamera* getCamera() const { return m_camera.get(); }
    VDPanel* getPanel() const { return m_panel; }
    int getPanelIndex() const { return m_panelIndex; }
    VDTextButton* getConsoleButton() const { return m_consoleButton; }
    VDTextButton* getMoveForwardButton() const { return m_moveForwardButton; }
    VDTextButton* getPlayButton() const { return m_playButton; }
    VDTextButton* getStopButton() const { return m_stopButton; }
    VDTimeLabel* getTimeLabel() const { return m_timeLabel; }
    VDTimeBar* getTimeBar() const { return m_timeBar; }
    bool isDragging() const { return m_dragging; }
    VDCellSelection& getSelection() { return m_selection; }

  private:
    // After a change of the window's rectangle from `before`.
    void placeStrip(const VDRect& before);
    // The frame while an import runs; false when none runs (the picture kept for it is let go).
    bool drawWhileImporting(VDEvent* redisplay);
    void draw3D();
    void drawCellOverlay();
    void drawGrid();
    // The label and the time bar show the controller's time as it is now.
    void followTime();
    // A key of the 3D view; false for keys it leaves to the strip.
    bool handleKey(int key);
    // Moves time for a press of "Play" or "Stop" or a value of the time bar; false for other sources.
    bool handleTimeControl(VDEvent* event);
    // Follows a left press that may turn out a click, and picks when it does.
    void trackClick(VDEvent* event);

    std::unique_ptr<VDCamera> m_camera;
    int m_panelIndex = -1;
    VDPanel* m_panel = nullptr;  // owned through the child list
    // The strip's widgets, owned by the panel.
    VDTextButton* m_playButton = nullptr;
    VDTextButton* m_stopButton = nullptr;
    VDTextButton* m_consoleButton = nullptr;
    VDTextButton* m_moveForwardButton = nullptr;
    VDTimeLabel* m_timeLabel = nullptr;
    VDTimeBar* m_timeBar = nullptr;
    bool m_dragging = false;
    int m_lastMouseX = 0;
    int m_lastMouseY = 0;
    // A left press in the 3D view that is a click so far: where, and the line of sight as the camera was.
    bool m_clickPending = false;
    int m_pressX = 0;
    int m_pressY = 0;
    VDPickRay m_pressRay;
    VDCellSelection m_selection;
    VDFrozenPicture m_frozen;
};
