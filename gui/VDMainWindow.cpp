#include "gui/VDMainWindow.h"

#include <GL/glut.h>

#include <new>
#include <utility>

#include "gui/VDConsole.h"
#include "gui/VDConsoleCommand.h"
#include "gui/VDConsoleParser.h"
#include "gui/VDEvent.h"
#include "gui/VDMessageBox.h"
#include "gui/VDThemeStore.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"

namespace {

// Owning, but not a smart pointer: the window must not be destroyed during static destruction, after the
// log and the settings its parts write through.
VDMainWindow* g_mainWindow = nullptr;

}  // namespace

VDMainWindow::VDMainWindow(int width, int height, std::unique_ptr<VDConsoleParser> parser)
    : m_width(width), m_height(height), m_parser(parser.get()), m_parserForConsole(std::move(parser)) {
    m_id = 0;
    m_rect.set(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    VDMainWindow::initialise();
}

VDMainWindow::~VDMainWindow() {
    m_messageBox.reset();
    m_contentWindow.reset();
    destroyConsole();
}

void VDMainWindow::initialise() {
    if (m_parser == nullptr) {
        logMessage("No console parser set for the main window.");
        return;
    }
    if (m_parserForConsole == nullptr) {
        return;  // the console exists already and holds the parser
    }
    auto created = std::make_unique<VDConsole>(std::move(m_parserForConsole));
    VDConsole* console = created.get();
    setConsole(std::move(created));
    console->setId(1);
    console->setRectangle(VDRect(10.0f, 50.0f, 790.0f, 550.0f));
    console->setCloseButton(true);
    console->initialise();
    console->setParent(this);
}

void VDMainWindow::setContentWindow(std::unique_ptr<VDWindow> window) {
    if (window == nullptr) {
        return;
    }
    m_contentWindow = std::move(window);
    m_contentWindow->setParent(this);
    m_contentWindow->setRectangle(m_rect);
    m_contentWindow->initialise();
}

void VDMainWindow::resize(const VDRect& rect) {
    m_rect.copyFrom(rect);
    if (m_contentWindow != nullptr) {
        m_contentWindow->setRectangle(rect);
    }
}

void VDMainWindow::showMessageBox(int kind, const std::string& text, VDMessageBoxCallBack* client) {
    m_messageClient = client;
    auto box = std::make_unique<VDMessageBox>(kind, text, this);
    const float cx = m_rect.getWidth() / 2;
    const float cy = m_rect.getHeight() / 2;
    box->setRectangle(VDRect(cx - 200, cy - 40, cx + 200, cy + 40));
    box->initialise();
    box->setParent(this);
    if (m_messageBox != nullptr) {
        // The replaced box may still be running a handler further up the stack.
        if (VDGarbageCan* can = getGarbageCan()) {
            can->dispose(m_messageBox.release());
        }
    }
    m_messageBox = std::move(box);
}

void VDMainWindow::onResult(int id) {
    // The answering box has put itself into the garbage can already. Letting go of it before the client
    // hears the answer lets the client open the next box, or take the whole program down.
    static_cast<void>(m_messageBox.release());
    if (m_messageClient != nullptr) {
        m_messageClient->onResult(id);
    }
    glutPostRedisplay();
}

bool VDMainWindow::routeInput(VDEvent* event) {
    if (event->getRouting() != VDEvent::ROUTE_DOWN) {
        return false;
    }
    if (m_messageBox != nullptr) {
        return deliverInput(m_messageBox.get(), event);
    }
    VDConsole* console = getConsole();
    if (console != nullptr && console->isOpen()) {
        return deliverInput(console, event);
    }
    if (m_contentWindow != nullptr) {
        return deliverInput(m_contentWindow.get(), event);
    }
    return false;
}

bool VDMainWindow::deliverInput(VDWindow* receiver, VDEvent* event) {
    // Only the content window and the console outlive a change of receiver; a message box that had input
    // is gone (answered) or is the receiver still. The pointer is only compared, never followed, unless it
    // is one of those two.
    if (m_inputReceiver != receiver) {
        VDConsole* console = getConsole();
        if (m_inputReceiver == m_contentWindow.get() || (console != nullptr && m_inputReceiver == console)) {
            m_inputReceiver->inputLost();
        }
        m_inputReceiver = receiver;
    }
    return receiver->handleEvent(event);
}

bool VDMainWindow::handleMouse(VDEvent* event) {
    auto* mouse = dynamic_cast<VDMouseEvent*>(event);
    if (mouse == nullptr) {
        return false;
    }
    // GLUT counts from the top-left corner, the toolkit from the bottom-left one. Scaled as (height - y) /
    // height rather than 1 - y / height, so that rounding cannot take a pixel off.
    const double width = m_rect.getWidth();
    const double height = m_rect.getHeight();
    const int x = width != 0.0 ? static_cast<int>(mouse->getX() / width * m_width) : mouse->getX();
    const int y = height != 0.0 ? static_cast<int>((height - mouse->getY()) * m_height / height)
                                : m_height - mouse->getY();
    if (event->getType() == VDEvent::MOUSE_MOVE) {
        VDMouseMoveEvent moved(x, y);
        return routeInput(&moved);
    }
    auto* button = dynamic_cast<VDMouseButtonEvent*>(event);
    if (button == nullptr) {
        logMessage("Main window encountered an invalid mouse button event");
        return false;
    }
    if (event->getType() == VDEvent::MOUSE_UP) {
        VDMouseUpEvent up(button->getButton(), x, y);
        up.setModifiers(button->getModifiers());
        return routeInput(&up);
    }
    VDMouseDownEvent down(button->getButton(), x, y);
    down.setModifiers(button->getModifiers());
    return routeInput(&down);
}

bool VDMainWindow::drawFrame() {
    return drawFrame(Parts::Everything);
}

bool VDMainWindow::drawFrame(Parts parts) {
    VDThemeStore* store = getThemeStore();
    VDTheme* theme = store != nullptr ? store->getCurrentTheme() : nullptr;
    if (theme == nullptr) {
        logMessage("Unable to grab current theme from ThemeStore");
        return false;
    }
    // The theme leaves depth testing on; the 2D pass must not be hidden by the 3D picture.
    glDisable(GL_DEPTH_TEST);
    theme->clearScreen();
    theme->begin2D(static_cast<float>(m_width), static_cast<float>(m_height));
    VDRedisplayEvent redisplay;
    if (m_contentWindow != nullptr) {
        m_contentWindow->handleEvent(&redisplay);
    }
    if (parts == Parts::Everything) {
        if (VDConsole* console = getConsole()) {
            console->handleEvent(&redisplay);
        }
        if (m_messageBox != nullptr) {
            // Panels are translucent: over the console, its lines would show through the box as if the box
            // were behind them. On a blank of its own it is in front of everything, and reads as it does
            // over an empty view.
            const VDRect box = m_messageBox->getRectangle();
            glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
            glBegin(GL_QUADS);
            glVertex2f(box.getX1(), box.getY1());
            glVertex2f(box.getX2(), box.getY1());
            glVertex2f(box.getX2(), box.getY2());
            glVertex2f(box.getX1(), box.getY2());
            glEnd();
            m_messageBox->handleEvent(&redisplay);
        }
    }
    theme->end2D();
    return true;
}

bool VDMainWindow::handleEvent(VDEvent* event) {
    switch (event->getType()) {
        case VDEvent::REDISPLAY:
            if (!drawFrame()) {
                return true;
            }
            glutSwapBuffers();
            return false;
        case VDEvent::RESIZE: {
            auto* resized = dynamic_cast<VDResizeEvent*>(event);
            if (resized == nullptr) {
                return true;
            }
            m_width = resized->getWidth();
            m_height = resized->getHeight();
            const VDRect rect(0.0f, 0.0f, static_cast<float>(m_width), static_cast<float>(m_height));
            resize(rect);
            if (m_messageBox != nullptr) {
                m_messageBox->setRectangle(rect);
            }
            glViewport(0, 0, m_width, m_height);
            return false;
        }
        case VDEvent::REDISPLAY_REQUEST:
            glutPostRedisplay();
            return false;
        case VDEvent::MOUSE_MOVE:
        case VDEvent::MOUSE_UP:
        case VDEvent::MOUSE_DOWN:
            return handleMouse(event);
        case VDEvent::CLOSE: {
            auto* close = dynamic_cast<VDCloseEvent*>(event);
            if (close == nullptr) {
                logMessage("Unable to cast event to close event");
                return true;
            }
            VDConsole* console = getConsole();
            if (close->getSourceId() == 1 && console != nullptr && console->isOpen()) {
                console->close();
            }
            return true;
        }
        case VDEvent::KEY_DOWN: {
            auto* down = dynamic_cast<VDKeyDownEvent*>(event);
            if (down == nullptr) {
                logMessage("Invalid key down object associated with keydown type");
                return false;
            }
            if (m_messageBox != nullptr) {
                return deliverInput(m_messageBox.get(), event);
            }
            const int key = down->getKey().getValue();
            if (key == VDKey::KEY_BACKQUOTE) {
                if (VDConsole* console = getConsole()) {
                    if (console->isOpen()) {
                        console->close();
                    } else {
                        console->open();
                    }
                }
                return true;
            }
            if (key == VDKey::KEY_ESCAPE) {
                if (m_escapeFactory != nullptr) {
                    // The command stays alive as the message box's client and disposes of itself once
                    // answered.
                    if (VDConsoleCommand* command = m_escapeFactory().release()) {
                        command->execute();
                    }
                }
                glutPostRedisplay();
                return true;
            }
            return routeInput(event);
        }
        default:
            return routeInput(event);
    }
}

VDMainWindow* createMainWindow(int width, int height, std::unique_ptr<VDConsoleParser> parser) {
    if (g_mainWindow == nullptr) {
        g_mainWindow = new (std::nothrow) VDMainWindow(width, height, std::move(parser));
    }
    return g_mainWindow;
}

VDMainWindow* getMainWindow() {
    return g_mainWindow;
}

void destroyMainWindow() {
    VDMainWindow* window = g_mainWindow;
    g_mainWindow = nullptr;
    delete window;
}
