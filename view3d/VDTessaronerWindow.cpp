#include "view3d/VDTessaronerWindow.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "console/VDDEVSFitViewEvent.h"
#include "console/VDDEVSMoveCameraEvent.h"
#include "console/VDDEVSPlotEvent.h"
#include "console/VDDEVSRotateCameraEvent.h"
#include "console/VDFitViewCommand.h"
#include "console/VDSnapshotCommand.h"
#include "control/VCCellReading.h"
#include "control/VCCellView.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "gui/VDPanel.h"
#include "gui/VDPlotPanel.h"
#include "gui/VDPlotPickEvent.h"
#include "gui/VDTextButton.h"
#include "gui/VDTheme.h"
#include "gui/VDThemeStore.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "view3d/VDCellLegends.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDImportStrip.h"
#include "view3d/VDModelOverlay.h"
#include "view3d/VDTimeBar.h"
#include "view3d/VDTimeLabel.h"
#include "view3d/VDValuePlot.h"

namespace {

// The plot opens in the bottom-left corner at this size, or smaller in a small window.
constexpr float kPlotWidth = 460.0f;
constexpr float kPlotHeight = 260.0f;
constexpr float kPlotInset = 8.0f;
// The strip ends this far short of the window's right edge, but is never narrower than kStripLeast (or the
// window, when that is narrower still): room for the buttons and the time label.
constexpr float kStripRightGap = 200.0f;
constexpr float kStripLeast = 600.0f;

float stripWidth(float windowWidth) {
    return std::max(windowWidth - kStripRightGap, std::min(windowWidth, kStripLeast));
}

// The button strip: a thin frame and a short title bar, so the buttons fill most of its 40 pixels.
class ButtonStripPanel : public VDPanel {
  public:
    ButtonStripPanel() {
        m_margin = 1.0f;
        m_titleHeight = 10.0f;
    }
};

std::unique_ptr<VDTextButton> makeButton(int id, VDWindow* parent, const char* caption, float x1, float y1,
                                         float x2, float y2) {
    auto button = std::make_unique<VDTextButton>();
    button->setId(id);
    button->setParent(parent);
    button->setCaption(caption);
    button->setRectangle(VDRect(x1, y1, x2, y2));
    return button;
}

}  // namespace

VDTessaronerWindow::VDTessaronerWindow() {
    auto camera = std::make_unique<VDFirstPersonCamera>();
    camera->setAspectRatio(1.3333333f);
    camera->setFieldOfView(90.0f);
    camera->setNearPlane(0.1f);
    camera->setFarPlane(1000.0f);
    camera->setPosition(Vector3(0.0f, 1.0f, 1.0f));
    m_camera = std::move(camera);
}

// The camera goes first; the base then destroys the panel with its buttons.
VDTessaronerWindow::~VDTessaronerWindow() {
    m_camera.reset();
    m_plot.reset();
    m_plotPanel.reset();
}

void VDTessaronerWindow::initialise() {
    if (m_panel != nullptr) {
        return;
    }
    const float x1 = m_rect.getX1();
    const float x2 = m_rect.getX2();
    const float y2 = m_rect.getY2();

    auto panel = std::make_unique<ButtonStripPanel>();
    panel->setCloseButton(false);
    panel->setFocused(true);
    panel->setMovable(true);
    panel->setTitle("");
    panel->setParent(this);
    panel->setResizable(false);
    const float stripX2 = x1 + stripWidth(x2 - x1);
    panel->setRectangle(VDRect(x1, y2 - 40.0f, stripX2, y2));
    m_panel = panel.get();
    m_panelIndex = addChild(std::move(panel));

    const float bottom = y2 - 32.0f;
    const float top = y2 - 15.0f;
    auto play = makeButton(PLAY_BUTTON_ID, m_panel, "Play", x1 + 5.0f, bottom, x1 + 55.0f, top);
    auto stop = makeButton(STOP_BUTTON_ID, m_panel, "Stop", x1 + 60.0f, bottom, x1 + 105.0f, top);
    auto console = makeButton(CONSOLE_BUTTON_ID, m_panel, "Console", x1 + 110.0f, bottom, x1 + 165.0f, top);
    auto moveForward =
        makeButton(MOVE_FORWARD_BUTTON_ID, m_panel, "Move Forward", x1 + 170.0f, bottom, x1 + 275.0f, top);
    m_playButton = play.get();
    m_stopButton = stop.get();
    m_consoleButton = console.get();
    m_moveForwardButton = moveForward.get();
    // "Console" stays the strip's first child, the one that has the focus at first.
    m_panel->addChild(std::move(console));
    m_panel->addChild(std::move(moveForward));
    m_panel->addChild(std::move(play));
    m_panel->addChild(std::move(stop));

    // The time, right of "Move Forward"; a longer line is cut short at the strip's end.
    auto label = std::make_unique<VDTimeLabel>();
    label->setParent(m_panel);
    label->setFitted(true);
    label->setRectangle(VDRect(x1 + 280.0f, bottom, stripX2 - 5.0f, top));
    m_timeLabel = label.get();
    m_panel->addChild(std::move(label));

    // The time bar fills the strip's bottom edge, below the buttons.
    auto bar = std::make_unique<VDTimeBar>();
    bar->setId(TIME_BAR_ID);
    bar->setParent(m_panel);
    bar->setRectangle(VDRect(x1 + 5.0f, y2 - 39.0f, stripX2 - 5.0f, y2 - 33.0f));
    m_timeBar = bar.get();
    m_panel->addChild(std::move(bar));

    // The plot, closed until it has a series.
    const float y1 = m_rect.getY1();
    const float plotWidth = std::min(kPlotWidth, m_rect.getWidth() - 2.0f * kPlotInset);
    const float plotHeight = std::min(kPlotHeight, m_rect.getHeight() - 60.0f);
    m_plotPanel = std::make_unique<VDPlotPanel>();
    m_plotPanel->setId(PLOT_PANEL_ID);
    m_plotPanel->setParent(this);
    m_plotPanel->setRectangle(VDRect(x1 + kPlotInset, y1 + kPlotInset,
                                     x1 + kPlotInset + std::max(plotWidth, 1.0f),
                                     y1 + kPlotInset + std::max(plotHeight, 1.0f)));
    m_plot = std::make_unique<VDValuePlot>(m_plotPanel.get());
}

void VDTessaronerWindow::setRectangle(const VDRect& rect) {
    const VDRect before = m_rect;
    m_rect.copyFrom(rect);
    placeStrip(before);
    // The picture keeps its proportions in any window shape. A 4:3 window keeps the camera's initial
    // ratio exactly; an empty window (minimised) has no shape to follow.
    const float width = rect.getWidth();
    const float height = rect.getHeight();
    if (width > 0.0f && height > 0.0f) {
        const float aspect = width / height;
        if (std::fabs(aspect - m_camera->getAspectRatio()) > 1e-6f * aspect) {
            m_camera->setAspectRatio(aspect);
        }
    }
    if (m_plotPanel != nullptr) {
        m_plotPanel->keepInside(rect);
    }
}

// The strip stays where it was below the window's top-left corner (where the user may have dragged it)
// and takes the width that belongs to the window's new width. The buttons keep their places in it; the time
// label and the time bar, which span it, end where they did before its end.
void VDTessaronerWindow::placeStrip(const VDRect& before) {
    if (m_panel == nullptr) {
        return;
    }
    const VDRect strip = m_panel->getRectangle();
    const float dx = m_rect.getX1() - before.getX1();
    const float dy = m_rect.getY2() - before.getY2();
    const float grow = stripWidth(m_rect.getWidth()) - strip.getWidth();
    std::vector<VDRect> places;
    for (int i = 0; i < m_panel->getChildCount(); ++i) {
        places.push_back(m_panel->getChild(i)->getRectangle());
    }
    // The panel scales its children with it; each is put back where it belongs afterwards.
    m_panel->setRectangle(
        VDRect(strip.getX1() + dx, strip.getY1() + dy, strip.getX2() + dx + grow, strip.getY2() + dy));
    for (int i = 0; i < m_panel->getChildCount(); ++i) {
        VDWindow* child = m_panel->getChild(i);
        const VDRect& r = places[static_cast<size_t>(i)];
        const bool spans = child == m_timeLabel || child == m_timeBar;
        child->setRectangle(
            VDRect(r.getX1() + dx, r.getY1() + dy, r.getX2() + dx + (spans ? grow : 0.0f), r.getY2() + dy));
    }
}

bool VDTessaronerWindow::handleEvent(VDEvent* event) {
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(m_camera.get());
    if (camera == nullptr) {
        logMessage("DEVS window has a non first person camera instance");
        return false;
    }

    if (routeToPlot(event) || handlePlotEvent(event)) {
        return true;
    }
    if (handleCameraMouse(event)) {
        return true;
    }
    trackClick(event);
    switch (event->getType()) {
        case VDEvent::REDISPLAY: {
            if (drawWhileImporting(event)) {
                return true;
            }
            drawScene();
            followTime();
            const bool handled = dispatch(event);
            // Over everything else, the strip included.
            if (m_plotPanel != nullptr && m_plot->isOpen()) {
                m_plotPanel->handleEvent(event);
            }
            return handled;
        }
        case VDDEVSMoveCameraEvent::TYPE: {
            auto* move = dynamic_cast<VDDEVSMoveCameraEvent*>(event);
            if (move == nullptr) {
                logMessage("Unable to cast event to move camera event.");
                return true;
            }
            camera->move(move->getForwardMovement(), move->getSideMovement(), move->getVerticalMovement());
            requestRedisplay();
            return true;
        }
        case VDDEVSRotateCameraEvent::TYPE: {
            auto* rotate = dynamic_cast<VDDEVSRotateCameraEvent*>(event);
            if (rotate == nullptr) {
                logMessage("Unable to cast event to rotate camera event.");
                return true;
            }
            camera->changeYaw(rotate->getYawChange());
            camera->changePitch(rotate->getPitchChange());
            camera->changeRoll(rotate->getRollChange());
            requestRedisplay();
            return true;
        }
        case VDDEVSFitViewEvent::TYPE: {
            auto* fit = dynamic_cast<VDDEVSFitViewEvent*>(event);
            if (fit == nullptr) {
                logMessage("Unable to cast event to fit view event.");
                return true;
            }
            m_controls.fit(*camera, fit->getBox(), fit->getPreset(), fitFrame(), drawsFlat());
            requestRedisplay();
            return true;
        }
        case VDEvent::MOUSE_UP:
            if (auto* up = dynamic_cast<VDMouseUpEvent*>(event)) {
                if (up->getButton() == VDMouseButtonEvent::LEFT) {
                    m_dragging = false;
                }
            }
            break;
        case VDEvent::MOUSE_MOVE:
            if (auto* move = dynamic_cast<VDMouseMoveEvent*>(event); move != nullptr && m_dragging) {
                // One degree per pixel: right turns the view right, up tilts it up.
                camera->changeYaw(static_cast<float>(m_lastMouseX - move->getX()));
                camera->changePitch(static_cast<float>(move->getY() - m_lastMouseY));
                m_lastMouseX = move->getX();
                m_lastMouseY = move->getY();
                requestRedisplay();
            }
            break;
        case VDEvent::KEY_DOWN:
            if (auto* down = dynamic_cast<VDKeyDownEvent*>(event)) {
                m_snapshotNote.clear();
                if (handleKey(down->getKey().getValue())) {
                    return true;
                }
            }
            break;
        case VDEvent::SCROLL_VALUE:
            if (handleTimeControl(event)) {
                return true;
            }
            break;
        case VDEvent::BUTTON_PRESS:
            if (handleTimeControl(event)) {
                return true;
            }
            if (auto* press = dynamic_cast<VDButtonPressEvent*>(event)) {
                if (press->getSourceId() == MOVE_FORWARD_BUTTON_ID) {
                    camera->move(0.5f, 0.0f, 0.0f);
                    requestRedisplay();
                } else if (press->getSourceId() == CONSOLE_BUTTON_ID) {
                    if (VDConsole* console = getConsole()) {
                        if (console->isOpen()) {
                            console->close();
                        } else {
                            console->open();
                        }
                    }
                }
            }
            break;
        case VDEvent::MOUSE_DOWN:
            if (auto* down = dynamic_cast<VDMouseDownEvent*>(event)) {
                m_snapshotNote.clear();
                if (down->getButton() == VDMouseButtonEvent::RIGHT) {
                    camera->move(1.0f, 0.0f, 0.0f);
                    requestRedisplay();
                }
            }
            break;
        default:
            break;
    }

    // While dragging the buttons are bypassed; a left press that no child claims starts a drag.
    if (!m_dragging && dispatch(event)) {
        return true;
    }
    if (auto* down = dynamic_cast<VDMouseDownEvent*>(event)) {
        // The time bar keeps the pointer while its button is held; the camera stays as it is.
        const bool onTimeBar = m_timeBar != nullptr && m_timeBar->isDragging();
        const bool shifted = (down->getModifiers() & VDKey::KEY_SHIFT) != 0;
        const bool orbits = down->getButton() == VDMouseButtonEvent::MIDDLE ||
                            (down->getButton() == VDMouseButtonEvent::LEFT && shifted);
        if (orbits && !onTimeBar) {
            bool aim = false;
            const Vector3 centre = orbitCentre(aim);
            m_controls.beginOrbit(down->getX(), down->getY(), centre, aim);
        } else if (down->getButton() == VDMouseButtonEvent::LEFT && !onTimeBar) {
            m_dragging = true;
            m_lastMouseX = down->getX();
            m_lastMouseY = down->getY();
        }
    }
    return VDWindow::handleEvent(event);
}

void VDTessaronerWindow::freezePicture() {
    VDTheme* theme = currentTheme();
    const int width = static_cast<int>(m_rect.getWidth());
    const int height = static_cast<int>(m_rect.getHeight());
    if (theme == nullptr || width <= 0 || height <= 0) {
        m_frozen.clear();
        return;
    }
    // As a frame draws it, without the strip; never shown, the next frame clears it.
    glDisable(GL_DEPTH_TEST);
    theme->clearScreen();
    theme->begin2D(static_cast<float>(width), static_cast<float>(height));
    draw3D();
    drawCellOverlay();
    drawModelOverlay();
    drawAxesTriad();
    theme->end2D();
    glReadBuffer(GL_BACK);
    m_frozen.capture(width, height);
}

bool VDTessaronerWindow::drawWhileImporting(VDEvent* redisplay) {
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr || !simulation->isImporting()) {
        if (!m_frozen.empty()) {
            m_frozen.clear();
        }
        return false;
    }
    // Stretched over the window, should it have been resized since the import began.
    m_frozen.draw(static_cast<int>(m_rect.getWidth()), static_cast<int>(m_rect.getHeight()));
    dispatch(redisplay);
    // The plot holds copies of its series: it stays as it was until the import ends.
    if (m_plotPanel != nullptr && m_plot->isOpen()) {
        m_plotPanel->handleEvent(redisplay);
    }
    const VCImportProgress progress = simulation->getImportProgress();
    if (progress.worthShowing() && m_panel != nullptr) {
        VDImportStrip(m_panel->getRectangle(), progress).draw();
    }
    return true;
}

VDKeptPicture::Source VDTessaronerWindow::pictureSource() {
    VDKeptPicture::Source source;
    if (const VCSimulation* simulation = getSimulation()) {
        source.sceneRevision = simulation->getSceneRevision();
    }
    const double* projection = m_camera->getProjectionMatrix();
    const double* view = m_camera->getViewMatrix();
    std::copy(projection, projection + 16, source.projection.begin());
    std::copy(view, view + 16, source.view.begin());
    source.width = static_cast<int>(m_rect.getWidth());
    source.height = static_cast<int>(m_rect.getHeight());
    return source;
}

void VDTessaronerWindow::drawScene() {
    const VDKeptPicture::Source source = pictureSource();
    if (m_kept.holds(source)) {
        m_kept.draw();
        return;
    }
    draw3D();
    drawCellOverlay();
    drawModelOverlay();
    drawAxesTriad();
    m_kept.capture(source);
}

void VDTessaronerWindow::draw3D() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixd(m_camera->getProjectionMatrix());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixd(m_camera->getViewMatrix());
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);

    drawGrid();

    // The frustum is current now that both matrices have been fetched.
    if (VCSimulation* simulation = getSimulation()) {
        if (Frustum* frustum = m_camera->getFrustum()) {
            simulation->render(frustum);
        }
        m_selection.drawOutline(simulation);
        m_blockSelection.drawOutline(simulation);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
}

// Names and the colour bar over the cells, in the 2D pass, with the matrices the picture was drawn with.
void VDTessaronerWindow::drawCellOverlay() {
    VCSimulation* simulation = getSimulation();
    const VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    const VCModelView* blocks = simulation != nullptr ? simulation->getModelView() : nullptr;
    const std::vector<VCCellView::DrawnModel> models =
        cells != nullptr ? cells->getDrawnModels() : std::vector<VCCellView::DrawnModel>();
    // The key of block colours stands with the cells' legends.
    const bool key = blocks != nullptr && blocks->isDrawn();
    if (models.empty() && !key) {
        return;
    }
    const VCCellView::DrawnModel blockKey = VDCellLegends::blockKey();
    const VDCellOverlay overlay(m_camera->getProjectionMatrix(), m_camera->getViewMatrix(), m_rect);
    overlay.draw(models, key ? &blockKey : nullptr);
}

// The models' names, ports and messages over their blocks, as the last 3D pass left them.
void VDTessaronerWindow::drawModelOverlay() {
    VCSimulation* simulation = getSimulation();
    const VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    if (models == nullptr || !models->isDrawn()) {
        return;
    }
    const VDModelOverlay overlay(m_camera->getProjectionMatrix(), m_camera->getViewMatrix(), m_rect);
    overlay.draw(models->getLabels());
}

// Lines at every whole unit from -10 to 10 in the plane y = 0.
void VDTessaronerWindow::drawGrid() {
    glColor3f(0.5f, 0.5f, 0.5f);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (int i = -20; i <= 20; ++i) {
        glVertex3f(static_cast<float>(i / 2), 0.0f, -10.0f);
        glVertex3f(static_cast<float>(i / 2), 0.0f, 10.0f);
    }
    for (int j = -20; j <= 20; ++j) {
        glVertex3f(-10.0f, 0.0f, static_cast<float>(j / 2));
        glVertex3f(10.0f, 0.0f, static_cast<float>(j / 2));
    }
    glEnd();
}

void VDTessaronerWindow::followTime() {
    VCSimulation* simulation = getSimulation();
    if (m_timeLabel != nullptr) {
        m_timeLabel->follow(simulation, stripNote());
    }
    if (m_timeBar != nullptr) {
        m_timeBar->follow(simulation);
    }
    if (m_plot != nullptr) {
        m_plot->follow(simulation);
    }
}

std::string VDTessaronerWindow::sliceTarget() {
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (cells == nullptr) {
        return "";
    }
    cells->updateLayout();
    if (m_selection.isActive()) {
        unsigned counts[3];
        if (cells->getCounts(m_selection.getModel(), counts)) {
            return m_selection.getModel();
        }
    }
    return cells->onlyBlockOfLayers();
}

void VDTessaronerWindow::stepSlice(int step) {
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    const std::string target = sliceTarget();
    if (cells == nullptr || target.empty()) {
        logText("No block to slice: pick a cell of one first");
        return;
    }
    if (cells->stepSlice(target, step)) {
        // Not a command: the kept picture learns of the new slice only through this.
        simulation->sceneChanged();
        logText(cells->sliceReport(target));
    } else {
        logText(target + " has a single layer along z: nothing to slice");
    }
}

std::string VDTessaronerWindow::stripNote() {
    std::string cell =
        m_blockSelection.isActive() ? m_blockSelection.describe(getSimulation()) : m_selection.describe();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    const std::string slice = cells != nullptr ? cells->describeSlice(sliceTarget()) : "";
    if (!slice.empty()) {
        cell = cell.empty() ? slice : slice + "  " + cell;
    }
    if (m_snapshotNote.empty()) {
        return cell;
    }
    // The note first: it lasts only until the next key or click, and a long line is cut at its end.
    return cell.empty() ? m_snapshotNote : m_snapshotNote + "  " + cell;
}

bool VDTessaronerWindow::handleKey(int key) {
    if (key == 's') {
        writeNumberedSnapshot();
        requestRedisplay();
        return true;
    }
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        return false;
    }
    if (handleViewKey(key)) {
        requestRedisplay();
        return true;
    }
    switch (key) {
        case ' ':
            if (simulation->isPlaying()) {
                simulation->stopPlayback();
            } else {
                simulation->play();
            }
            break;
        case VDKey::KEY_RIGHT:
            simulation->timeNext();
            break;
        case VDKey::KEY_LEFT:
            simulation->timePrevious();
            break;
        case VDKey::KEY_HOME:
            simulation->timeFirst();
            break;
        case VDKey::KEY_END:
            simulation->timeLast();
            break;
        case VDKey::KEY_PAGE_UP:
        case VDKey::KEY_PAGE_DOWN:
            stepSlice(key == VDKey::KEY_PAGE_UP ? 1 : -1);
            break;
        case 'f': {
            // Exactly what the command does, replies included. It hands itself to the garbage can.
            auto fit = std::make_unique<VDFitViewCommand>();
            fit->execute();
            if (getGarbageCan() != nullptr) {
                static_cast<void>(fit.release());
            }
            break;
        }
        default:
            return false;
    }
    requestRedisplay();
    return true;
}

bool VDTessaronerWindow::handleTimeControl(VDEvent* event) {
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        return false;
    }
    if (auto* value = dynamic_cast<VDScrollValueEvent*>(event)) {
        if (value->getSourceId() != TIME_BAR_ID || m_timeBar == nullptr) {
            return false;
        }
        double time = 0.0;
        if (m_timeBar->eventTimeAt(*simulation, value->getValue(), time)) {
            simulation->timeGoto(time);
        }
        // The thumb goes where the time went, which may be short of the pointer.
        m_timeBar->follow(simulation);
        requestRedisplay();
        return true;
    }
    auto* press = dynamic_cast<VDButtonPressEvent*>(event);
    if (press == nullptr) {
        return false;
    }
    if (press->getSourceId() == PLAY_BUTTON_ID) {
        // Pressed while playing, it keeps playing as it is.
        if (!simulation->isPlaying()) {
            simulation->play();
        }
    } else if (press->getSourceId() == STOP_BUTTON_ID) {
        simulation->stopPlayback();
    } else {
        return false;
    }
    requestRedisplay();
    return true;
}

void VDTessaronerWindow::trackClick(VDEvent* event) {
    const int type = event->getType();
    if (type != VDEvent::MOUSE_DOWN && type != VDEvent::MOUSE_MOVE && type != VDEvent::MOUSE_UP) {
        return;
    }
    auto* mouse = dynamic_cast<VDMouseEvent*>(event);
    auto* button = dynamic_cast<VDMouseButtonEvent*>(event);
    if (mouse == nullptr || (button != nullptr && button->getButton() != VDMouseButtonEvent::LEFT)) {
        return;
    }
    const int x = mouse->getX();
    const int y = mouse->getY();
    const bool near = std::abs(x - m_pressX) <= kClickSlop && std::abs(y - m_pressY) <= kClickSlop;
    if (type == VDEvent::MOUSE_DOWN) {
        // Presses on the strip belong to its widgets.
        const bool onStrip = m_panel != nullptr &&
                             m_panel->getRectangle().contains(static_cast<float>(x), static_cast<float>(y));
        m_clickPending = !m_dragging && !onStrip;
        m_pressX = x;
        m_pressY = y;
        m_pressShifted = button != nullptr && (button->getModifiers() & VDKey::KEY_SHIFT) != 0;
        if (m_clickPending) {
            m_pressRay =
                VDPickRay::through(m_camera->getProjectionMatrix(), m_camera->getViewMatrix(),
                                   x - static_cast<int>(m_rect.getX1()), y - static_cast<int>(m_rect.getY1()),
                                   m_rect.getWidth(), m_rect.getHeight());
        }
    } else if (type == VDEvent::MOUSE_MOVE) {
        m_clickPending = m_clickPending && near;
    } else if (m_clickPending) {
        m_clickPending = false;
        if (near) {
            // Of a block and a cell, the nearer: only cells in front of the block count.
            float distance = std::numeric_limits<float>::infinity();
            const std::string block = VDBlockSelection::blockAt(getSimulation(), m_pressRay, distance);
            m_blockSelection.clear();
            if (m_selection.pick(getSimulation(), m_pressRay, distance)) {
                // Shift+click: the picked cell joins the plot as well.
                if (m_pressShifted) {
                    // Named by the run's coordinates, as vis_plot takes them.
                    const VCCellReading picked = VCCellReading::readStored(
                        m_selection.getModel(), m_selection.getX(), m_selection.getY(), m_selection.getZ());
                    VCSeriesTarget target;
                    target.kind = VCSeriesTarget::Kind::Cell;
                    target.name = m_selection.getModel();
                    target.x = picked.x;
                    target.y = picked.y;
                    target.z = picked.z;
                    target.coordinates = 3;
                    plotTarget(target);
                }
            } else if (!block.empty()) {
                m_blockSelection.select(block);
                if (m_pressShifted) {
                    plotBlock(block);
                }
            }
            // The outline of what is picked is part of the picture.
            if (VCSimulation* simulation = getSimulation()) {
                simulation->sceneChanged();
            }
            requestRedisplay();
        }
    }
}

bool VDTessaronerWindow::plotBlock(const std::string& model) {
    VCSimulation* simulation = getSimulation();
    const SDVisualization* visualization = simulation != nullptr ? getVisualization() : nullptr;
    const SDDevsModel* record =
        visualization != nullptr ? visualization->getModelList()->findModel(model) : nullptr;
    if (record == nullptr) {
        return false;
    }
    VCSeriesTarget target;
    target.kind = VCSeriesTarget::Kind::Named;
    target.name = model;
    if (dynamic_cast<const SDCELLDevsModel*>(record) == nullptr) {
        const std::vector<std::string> outputs = record->getOutputPorts();
        const std::vector<std::string> inputs = record->getInputPorts();
        if (outputs.empty() && inputs.empty()) {
            return false;
        }
        target.name += "." + (outputs.empty() ? inputs.front() : outputs.front());
    }
    return plotTarget(target);
}

bool VDTessaronerWindow::plotTarget(const VCSeriesTarget& target) {
    if (m_plot == nullptr) {
        return false;
    }
    const bool added = m_plot->add(target);
    requestRedisplay();
    return added;
}

bool VDTessaronerWindow::routeToPlot(VDEvent* event) {
    const int type = event->getType();
    if (m_plotPanel == nullptr || !m_plot->isOpen() ||
        (type != VDEvent::MOUSE_DOWN && type != VDEvent::MOUSE_MOVE && type != VDEvent::MOUSE_UP)) {
        return false;
    }
    auto* mouse = dynamic_cast<VDMouseEvent*>(event);
    if (mouse == nullptr) {
        return false;
    }
    const bool over = m_plotPanel->getRectangle().contains(static_cast<float>(mouse->getX()),
                                                           static_cast<float>(mouse->getY()));
    const bool engaged =
        m_plotPanel->isDragging() || m_plotPanel->isPicking() || m_plotPanel->getResizeEdges() != 0;
    if (type == VDEvent::MOUSE_DOWN && over && !m_dragging) {
        m_plotPanel->handleEvent(event);
        return true;
    }
    if (engaged) {
        m_plotPanel->handleEvent(event);
        return true;
    }
    // Passing over it: the panel lights its title bar and edges, and the view goes on as it would.
    if (type == VDEvent::MOUSE_MOVE) {
        m_plotPanel->handleEvent(event);
    }
    return false;
}

bool VDTessaronerWindow::handlePlotEvent(VDEvent* event) {
    switch (event->getType()) {
        case VDDEVSPlotEvent::TYPE: {
            auto* plot = dynamic_cast<VDDEVSPlotEvent*>(event);
            if (plot == nullptr || m_plot == nullptr) {
                return true;
            }
            plot->handled = true;
            if (plot->isHide() || plot->isShow()) {
                m_plotPanel->inputLost();
                m_plot->setHidden(plot->isHide());
                logText(plot->isHide()        ? "Plot hidden"
                        : m_plot->hasSeries() ? "Plot shown"
                                              : "Plot shown once it has a series: the plot is empty");
            } else if (plot->isPlace()) {
                placePlot(plot->getPlace());
            } else if (plot->isClear()) {
                m_plot->clear();
                if (!plot->isRunClosed()) {
                    logText("Plot cleared");
                }
            } else {
                m_plot->add(plot->getTarget());
            }
            requestRedisplay();
            return true;
        }
        case VDEvent::PLOT_PICK: {
            auto* picked = dynamic_cast<VDPlotPickEvent*>(event);
            if (picked == nullptr || picked->getSourceId() != PLOT_PANEL_ID) {
                return false;
            }
            m_plot->pick(getSimulation(), picked->getX());
            requestRedisplay();
            return true;
        }
        case VDEvent::CLOSE: {
            auto* close = dynamic_cast<VDCloseEvent*>(event);
            if (close == nullptr || close->getSourceId() != PLOT_PANEL_ID) {
                return false;
            }
            m_plot->clear();
            requestRedisplay();
            return true;
        }
        default:
            return false;
    }
}

void VDTessaronerWindow::placePlot(const long long* place) {
    const float least = m_plotPanel->getMinimumSize();
    if (place[2] < least || place[3] < least) {
        logText("Unable to place the plot: it needs at least " + std::to_string(static_cast<int>(least)) +
                " x " + std::to_string(static_cast<int>(least)) + " pixels");
        return;
    }
    // Far beyond any window, yet exact as floats; keepInside brings it back.
    const auto pixels = [](long long value) {
        return static_cast<float>(std::clamp(value, -1000000LL, 1000000LL));
    };
    m_plotPanel->inputLost();
    const float x1 = m_rect.getX1() + pixels(place[0]);
    const float y2 = m_rect.getY2() - pixels(place[1]);
    m_plotPanel->setRectangle(VDRect(x1, y2 - pixels(place[3]), x1 + pixels(place[2]), y2));
    m_plotPanel->keepInside(m_rect);
    const VDRect& at = m_plotPanel->getRectangle();
    const auto whole = [](float value) { return std::to_string(static_cast<long long>(std::lround(value))); };
    logText("Plot placed at " + whole(at.getX1() - m_rect.getX1()) + " " +
            whole(m_rect.getY2() - at.getY2()) + ", " + whole(at.getWidth()) + " x " + whole(at.getHeight()) +
            " pixels");
}

void VDTessaronerWindow::writeNumberedSnapshot() {
    // Exactly what vis_snapshot does, replies included. It hands itself to the garbage can.
    auto snapshot = std::make_unique<VDSnapshotCommand>();
    const std::string name = VDSnapshotCommand::nextFreeName();
    snapshot->setFileName(name);
    snapshot->execute();
    m_snapshotNote = snapshot->succeeded() ? "Saved " + name : "Unable to save " + name;
    if (getGarbageCan() != nullptr) {
        static_cast<void>(snapshot.release());
    }
}

void VDTessaronerWindow::inputLost() {
    m_clickPending = false;
    m_dragging = false;
    m_controls.endOrbit();
    if (m_plotPanel != nullptr) {
        m_plotPanel->inputLost();
    }
    VDWindow::inputLost();
}
