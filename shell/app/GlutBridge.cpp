#include "shell/app/GlutBridge.h"

#include <GL/freeglut.h>

#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutImportHost.h"
#include "shell/app/SyncProbe.h"

namespace {

int modifierBits(int glutModifiers) {
    switch (glutModifiers) {
        case GLUT_ACTIVE_SHIFT:
            return VDKey::KEY_SHIFT;
        case GLUT_ACTIVE_CTRL:
            return VDKey::KEY_CONTROL;
        case GLUT_ACTIVE_ALT:
            return VDKey::KEY_ALT;
        default:
            return 0;
    }
}

int specialCode(int code) {
    if (code >= GLUT_KEY_F1 && code <= GLUT_KEY_F12) {
        return VDKey::KEY_F1 + (code - GLUT_KEY_F1);
    }
    switch (code) {
        case GLUT_KEY_LEFT:
            return VDKey::KEY_LEFT;
        case GLUT_KEY_UP:
            return VDKey::KEY_UP;
        case GLUT_KEY_RIGHT:
            return VDKey::KEY_RIGHT;
        case GLUT_KEY_DOWN:
            return VDKey::KEY_DOWN;
        case GLUT_KEY_PAGE_UP:
            return VDKey::KEY_PAGE_UP;
        case GLUT_KEY_PAGE_DOWN:
            return VDKey::KEY_PAGE_DOWN;
        case GLUT_KEY_HOME:
            return VDKey::KEY_HOME;
        case GLUT_KEY_END:
            return VDKey::KEY_END;
        case GLUT_KEY_INSERT:
            return VDKey::KEY_INSERT;
        default:
            return SPECIAL_OTHER + (code & 0xFF);
    }
}

// Input that arrived while an import ran, waiting to be handed on.
HeldInput g_held;

// Synchronous: the event lives on the callback's stack and is gone once the callback returns.
void deliver(VDMainWindow* mainWindow, VDEvent& event) {
    mainWindow->handleEvent(&event);
}

}  // namespace

GlutCallbackScope::~GlutCallbackScope() {
    flushLog();
}

VDKey keyFromGlutCharacter(unsigned char c, int glutModifiers) {
    int value = c;
    if (glutModifiers == GLUT_ACTIVE_CTRL) {
        switch (c) {
            case 1:
            case 3:
            case 6:
            case 22:
            case 24:
            case 25:
            case 26:
                value = 'a' - 1 + c;
                break;
            default:
                break;
        }
    }
    return VDKey(value | modifierBits(glutModifiers));
}

VDKey keyFromGlutSpecial(int code, int glutModifiers) {
    return VDKey(specialCode(code) | modifierBits(glutModifiers));
}

int buttonFromGlut(int glutButton) {
    switch (glutButton) {
        case GLUT_LEFT_BUTTON:
            return VDMouseButtonEvent::LEFT;
        case GLUT_RIGHT_BUTTON:
            return VDMouseButtonEvent::RIGHT;
        case GLUT_MIDDLE_BUTTON:
            return VDMouseButtonEvent::MIDDLE;
        // GLUT reports each notch of the wheel as a press and a release of these.
        case 3:
            return VDMouseButtonEvent::WHEEL_UP;
        case 4:
            return VDMouseButtonEvent::WHEEL_DOWN;
        default:
            return -1;
    }
}

VDKeyDownEvent keyDownFromGlutCharacter(unsigned char c, int glutModifiers) {
    return VDKeyDownEvent(keyFromGlutCharacter(c, glutModifiers));
}

VDKeyDownEvent keyDownFromGlutSpecial(int code, int glutModifiers) {
    return VDKeyDownEvent(keyFromGlutSpecial(code, glutModifiers));
}

VDKeyUpEvent keyUpFromGlutCharacter(unsigned char c) {
    return VDKeyUpEvent(VDKey(c));
}

VDKeyUpEvent keyUpFromGlutSpecial(int code) {
    return VDKeyUpEvent(VDKey(specialCode(code)));
}

std::unique_ptr<VDMouseButtonEvent> mouseEventFromGlut(int glutButton, int state, int x, int y) {
    const int button = buttonFromGlut(glutButton);
    if (button < 0) {
        return nullptr;
    }
    if (state == GLUT_UP) {
        return std::make_unique<VDMouseUpEvent>(button, x, y);
    }
    return std::make_unique<VDMouseDownEvent>(button, x, y);
}

namespace {
bool g_onlyWhileImporting = false;
}  // namespace

void drawOnlyWhileImporting(bool on) {
    g_onlyWhileImporting = on;
}

namespace {

// An import's frames show its frozen picture and its bar, and the bar waits until the import has run for a
// moment: a frame before then would show nothing new and take a core from the import. A short import draws
// no frame until it ends; a longer one is drawn with its bar.
bool framesHeld() {
    const VCSimulation* simulation = getSimulation();
    const bool importing = simulation != nullptr && simulation->isImporting();
    if (g_onlyWhileImporting && !importing) {
        return true;
    }
    return importing && !simulation->getImportProgress().worthShowing();
}

}  // namespace

void onGlutDisplay() {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr || framesHeld()) {
        return;
    }
    // Objects disposed while the last frame's events were handled go before anything else runs.
    if (VDGarbageCan* can = getGarbageCan()) {
        can->empty();
    }
    VDRedisplayEvent redisplay;
    deliver(mainWindow, redisplay);
}

void onGlutReshape(int width, int height) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDResizeEvent resize(width, height);
    deliver(mainWindow, resize);
    // The window's first reshape comes while a run given on the command line is read: its frame would draw
    // a window with nothing in it yet, at the cost of the first frame's shaders.
    if (framesHeld()) {
        return;
    }
    VDRedisplayEvent redisplay;
    deliver(mainWindow, redisplay);
}

void onGlutKeyboard(unsigned char key, int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::Keyboard, key, 0, x, y, glutGetModifiers()};
    arriveGlutInput(input);
}

void onGlutSpecial(int key, int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::Special, key, 0, x, y, glutGetModifiers()};
    arriveGlutInput(input);
}

void onGlutMouse(int button, int state, int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::Mouse, button, state, x, y, glutGetModifiers()};
    arriveGlutInput(input);
}

void onGlutMotion(int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::Motion, 0, 0, x, y, 0};
    arriveGlutInput(input);
}

void onGlutVisibility(int) {
    GlutCallbackScope scope;
}

void onGlutSpecialUp(int key, int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::SpecialUp, key, 0, x, y, 0};
    arriveGlutInput(input);
}

void onGlutKeyboardUp(unsigned char key, int x, int y) {
    GlutCallbackScope scope;
    if (getMainWindow() == nullptr) {
        return;
    }
    GlutInput input{GlutInput::Kind::KeyboardUp, key, 0, x, y, 0};
    arriveGlutInput(input);
}

void arriveGlutInput(const GlutInput& input) {
    VCSimulation* simulation = getSimulation();
    const bool importing = simulation != nullptr && simulation->isImporting();
    switch (g_held.arrive(input, importing, importKeepsInputWaiting())) {
        case HeldInput::Verdict::Deliver:
            deliverGlutInput(input);
            break;
        case HeldInput::Verdict::CancelImport:
            // Only the import hears this Escape; it asks nothing more.
            simulation->cancelImport();
            break;
        case HeldInput::Verdict::Held:
            break;
    }
}

void deliverGlutInput(const GlutInput& input) {
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    switch (input.kind) {
        case GlutInput::Kind::Keyboard: {
            VDKeyDownEvent down =
                keyDownFromGlutCharacter(static_cast<unsigned char>(input.code), input.modifiers);
            deliver(mainWindow, down);
            break;
        }
        case GlutInput::Kind::Special: {
            VDKeyDownEvent down = keyDownFromGlutSpecial(input.code, input.modifiers);
            deliver(mainWindow, down);
            break;
        }
        case GlutInput::Kind::Mouse: {
            std::unique_ptr<VDMouseButtonEvent> event =
                mouseEventFromGlut(input.code, input.state, input.x, input.y);
            if (event != nullptr) {
                // Every modifier held counts for a button (Shift+click), however many are held.
                event->setModifiers(((input.modifiers & GLUT_ACTIVE_SHIFT) != 0 ? VDKey::KEY_SHIFT : 0) |
                                    ((input.modifiers & GLUT_ACTIVE_CTRL) != 0 ? VDKey::KEY_CONTROL : 0) |
                                    ((input.modifiers & GLUT_ACTIVE_ALT) != 0 ? VDKey::KEY_ALT : 0));
                deliver(mainWindow, *event);
            }
            break;
        }
        case GlutInput::Kind::Motion: {
            VDMouseMoveEvent move(input.x, input.y);
            deliver(mainWindow, move);
            syncProbePointerMoved(input.x, input.y);
            break;
        }
        case GlutInput::Kind::SpecialUp: {
            VDKeyUpEvent up = keyUpFromGlutSpecial(input.code);
            deliver(mainWindow, up);
            break;
        }
        case GlutInput::Kind::KeyboardUp: {
            VDKeyUpEvent up = keyUpFromGlutCharacter(static_cast<unsigned char>(input.code));
            deliver(mainWindow, up);
            break;
        }
    }
}

void replayHeldInput() {
    g_held.replay(&deliverGlutInput, &importKeepsInputWaiting);
}

bool inputWaits() {
    return !g_held.empty() || importKeepsInputWaiting();
}

void registerGlutCallbacks() {
    glutDisplayFunc(onGlutDisplay);
    glutReshapeFunc(onGlutReshape);
    glutKeyboardFunc(onGlutKeyboard);
    glutSpecialFunc(onGlutSpecial);
    glutMouseFunc(onGlutMouse);
    glutMotionFunc(onGlutMotion);
    glutVisibilityFunc(onGlutVisibility);
    glutPassiveMotionFunc(onGlutMotion);
    glutSpecialUpFunc(onGlutSpecialUp);
    glutKeyboardUpFunc(onGlutKeyboardUp);
}
