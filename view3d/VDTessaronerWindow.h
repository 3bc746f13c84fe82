#pragma once

#include <memory>
#include <string>

#include "gui/VDWindow.h"
#include "view3d/VDBlockSelection.h"
#include "view3d/VDCamera.h"
#include "view3d/VDCameraControls.h"
#include "view3d/VDCellSelection.h"
#include "view3d/VDFrozenPicture.h"
#include "view3d/VDKeptPicture.h"
#include "view3d/VDPickRay.h"

class VDPanel;
class VDPlotPanel;
class VDTextButton;
class VDValuePlot;
struct VCSeriesTarget;
class VDTimeBar;
class VDTimeLabel;

// The window that shows the 3D scene: it owns a first-person camera, draws a reference grid and the
// current visualization through the simulation controller, and lets a strip of buttons draw over the
// picture. Mouse drags, the buttons and the console's camera events move and turn the camera.
//
// The strip also drives time: "Play" and "Stop", a label with the current and the last event time, and a
// time bar along its bottom edge. Keys move time too: Space plays or stops, Right and Left step to the
// next or the previous event time, Home and End go to the first and the last; `f` fits the view to the
// cells as vis_fit does; `s` writes the view as snapshot_001.png, snapshot_002.png, ... (the first name
// not taken) into the working directory, and the strip says which.
//
// A plot of values over time (VDValuePlot in a VDPlotPanel) floats over the picture once vis_plot, or a
// Shift+click on a cell, gives it a series. It is not among the children: the window draws it after the
// strip and gives it the pointer while the pointer works on it, so the plot's presses never reach the 3D
// view. A click in it moves time to the nearest event time; its close button empties it.
//
// A left click on a cell (pressed and released within kClickSlop pixels, off the strip) selects it: the
// cube is outlined, its vis_cell line is logged, and the strip shows its value. A click on a model's block
// selects the model the same way, logging its vis_model lines; of a block and a cell, the nearer wins. A
// click on nothing clears the selection. Between press and release the drag turns the camera as always.
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
    static constexpr int PLOT_PANEL_ID = 65005;
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
    // The last 3D picture, drawn again while nothing it shows has changed.
    const VDKeptPicture& getKeptPicture() const { return m_kept; }

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
    VDPlotPanel* getPlotPanel() const { return m_plotPanel.get(); }
    VDValuePlot* getPlot() const { return m_plot.get(); }
    // Adds a series to the plot, as vis_plot does (a picked block's port, say); false when refused.
    bool plotTarget(const VCSeriesTarget& target);
    // Adds a picked block to the plot: a cell space's whole-space series, else the model's first output
    // port (or its first input port when it has no output).
    bool plotBlock(const std::string& model);
    // What the strip says besides the time: the picked cell, the last snapshot the `s` key wrote.
    std::string stripNote();
    VDBlockSelection& getBlockSelection() { return m_blockSelection; }
    VDCameraControls& getCameraControls() { return m_controls; }
    // The part of the picture a fitted view fills: clear of the strip, the legends and the coordinates and
    // names written around the blocks (normalised device coordinates).
    VDViewFit::Frame fitFrame() const;
    // Whether no drawn cell space is more than one layer deep (laid-out layers count as maps): a run to see
    // head-on.
    bool drawsFlat() const;
    // What orbits turn around: the picked cell or block, brought to the middle (`aim`), else the centre of
    // the last fit, else of the drawn cells, else a point ahead.
    Vector3 orbitCentre(bool& aim);
    // The point the pointer at (x, y) shows: on the nearest cell or block under it, else as deep as the
    // orbit's centre.
    Vector3 pointUnder(int x, int y);

  private:
    // The wheel, orbit drags and their end; true when the event was theirs alone.
    bool handleCameraMouse(VDEvent* event);
    // The keys 1 to 7: vis_view from each preset side in turn.
    bool handleViewKey(int key);
    // The axes' directions in the bottom-left corner, turning with the camera; in the 2D pass.
    void drawAxesTriad();
    // After a change of the window's rectangle from `before`.
    void placeStrip(const VDRect& before);
    // The frame while an import runs; false when none runs (the picture kept for it is let go).
    bool drawWhileImporting(VDEvent* redisplay);
    // The 3D picture with its overlays: the kept one while its source is unchanged, else drawn and kept.
    void drawScene();
    VDKeptPicture::Source pictureSource();
    void draw3D();
    void drawCellOverlay();
    void drawModelOverlay();
    void drawGrid();
    // The label and the time bar show the controller's time as it is now.
    void followTime();
    // The model PageUp and PageDown slice: the picked cell's, or else the only block of several layers.
    std::string sliceTarget();
    void stepSlice(int step);
    // A key of the 3D view; false for keys it leaves to the strip.
    bool handleKey(int key);
    // Moves time for a press of "Play" or "Stop" or a value of the time bar; false for other sources.
    bool handleTimeControl(VDEvent* event);
    // Follows a left press that may turn out a click, and picks when it does (and plots, with Shift).
    void trackClick(VDEvent* event);
    // Hands the pointer to the plot while it works on it; true when the event is the plot's alone.
    bool routeToPlot(VDEvent* event);
    // Handles the plot's requests and what its panel raises; false for other events.
    bool handlePlotEvent(VDEvent* event);
    // vis_plot place: x, y (the top-left corner from the window's), width and height in pixels. Too small
    // a size is refused; a place off the window is brought inside it, as a drag would.
    void placePlot(const long long* place);
    // The `s` key: the view as the next free snapshot_NNN.png.
    void writeNumberedSnapshot();

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
    bool m_pressShifted = false;
    VDPickRay m_pressRay;
    VDCellSelection m_selection;
    VDBlockSelection m_blockSelection;
    VDCameraControls m_controls;
    VDFrozenPicture m_frozen;
    VDKeptPicture m_kept;
    std::unique_ptr<VDPlotPanel> m_plotPanel;
    std::unique_ptr<VDValuePlot> m_plot;  // reads m_plotPanel, so it goes first
    std::string m_snapshotNote;           // the strip's word on the last `s`, until the next key or press
};
