#include "shell/app/GlutBridge.h"

#include <GL/freeglut.h>

#include "gui/VDMainWindow.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
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

void onGlutDisplay() {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
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
    VDRedisplayEvent redisplay;
    deliver(mainWindow, redisplay);
}

void onGlutKeyboard(unsigned char key, int, int) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDKeyDownEvent down = keyDownFromGlutCharacter(key, glutGetModifiers());
    deliver(mainWindow, down);
}

void onGlutSpecial(int key, int, int) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDKeyDownEvent down = keyDownFromGlutSpecial(key, glutGetModifiers());
    deliver(mainWindow, down);
}

void onGlutMouse(int button, int state, int x, int y) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    std::unique_ptr<VDMouseButtonEvent> event = mouseEventFromGlut(button, state, x, y);
    if (event != nullptr) {
        deliver(mainWindow, *event);
    }
}

void onGlutMotion(int x, int y) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDMouseMoveEvent move(x, y);
    deliver(mainWindow, move);
    syncProbePointerMoved(x, y);
}

void onGlutVisibility(int) {
    GlutCallbackScope scope;
}

void onGlutSpecialUp(int key, int, int) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDKeyUpEvent up = keyUpFromGlutSpecial(key);
    deliver(mainWindow, up);
}

void onGlutKeyboardUp(unsigned char key, int, int) {
    GlutCallbackScope scope;
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    VDKeyUpEvent up = keyUpFromGlutCharacter(key);
    deliver(mainWindow, up);
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
