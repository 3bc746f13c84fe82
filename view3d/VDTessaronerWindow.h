#pragma once

#include <memory>

#include "gui/VDWindow.h"
#include "view3d/VDCamera.h"
#include "view3d/VDFrozenPicture.h"

class VDPanel;
class VDTextButton;

// The window that shows the 3D scene: it owns a first-person camera, draws a reference grid and the
// current visualization through the simulation controller, and lets a strip of buttons draw over the
// picture. Mouse drags, the buttons and the console's camera events move and turn the camera.
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

    VDTessaronerWindow();
    ~VDTessaronerWindow() override;

    bool handleEvent(VDEvent* event) override;
    // Builds the button strip along the top edge of the window's rectangle.
    void initialise() override;
    // Stores the rectangle without moving the buttons, and fits the camera's aspect ratio to it.
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
    VDTextButton* getPlayButton() const { return m_playButton.get(); }
    VDTextButton* getStopButton() const { return m_stopButton.get(); }
    bool isDragging() const { return m_dragging; }

  private:
    // The frame while an import runs; false when none runs (the picture kept for it is let go).
    bool drawWhileImporting(VDEvent* redisplay);
    void draw3D();
    void drawCellOverlay();
    void drawGrid();

    std::unique_ptr<VDCamera> m_camera;
    int m_panelIndex = -1;
    VDPanel* m_panel = nullptr;  // owned through the child list
    // Built but not part of the strip: no playback exists, so they are neither drawn nor pressed.
    std::unique_ptr<VDTextButton> m_playButton;
    std::unique_ptr<VDTextButton> m_stopButton;
    VDTextButton* m_consoleButton = nullptr;      // owned by the panel
    VDTextButton* m_moveForwardButton = nullptr;  // owned by the panel
    bool m_dragging = false;
    int m_lastMouseX = 0;
    int m_lastMouseY = 0;
    VDFrozenPicture m_frozen;
};
