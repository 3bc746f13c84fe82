#pragma once

#include <memory>

#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "shell/app/HeldInput.h"

// The program's only link to GLUT input and drawing: each callback turns what GLUT reports into one toolkit
// event for the main window. Every callback does nothing while no main window exists.
//
// While a log import runs, input waits (see HeldInput) and is handed on in order once the import has ended;
// Escape cancels the import instead, and does nothing else.
void registerGlutCallbacks();

// What the input callbacks do with what GLUT reported: hand it on now, hold it, or cancel the import.
void arriveGlutInput(const GlutInput& input);
// Hands input to the main window as the callback that reported it would have.
void deliverGlutInput(const GlutInput& input);
// Hands on the held input, as long as no import keeps it waiting.
void replayHeldInput();
// Whether input that arrives now would wait: some is held, or an import keeps it waiting.
bool inputWaits();
// While on, the display callback draws only while a log import runs (its progress); for runs that write
// pictures of their own, where a window frame drawn after the import would show nobody anything.
void drawOnlyWhileImporting(bool on);

// Every callback that GLUT calls opens one of these first thing, so that whatever the callback logged is in
// the log file when it returns and the main loop waits again: the file channel holds lines in memory until
// then. A callback added later (a timer for playback or for import slices, an idle function) does the same:
//
//     void onGlutTimer(int value) {
//         GlutCallbackScope scope;
//         ...
//     }
class GlutCallbackScope {
  public:
    GlutCallbackScope() = default;
    ~GlutCallbackScope();
    GlutCallbackScope(const GlutCallbackScope&) = delete;
    GlutCallbackScope& operator=(const GlutCallbackScope&) = delete;
};

void onGlutDisplay();
void onGlutReshape(int width, int height);
void onGlutKeyboard(unsigned char key, int x, int y);
void onGlutSpecial(int key, int x, int y);
void onGlutMouse(int button, int state, int x, int y);
void onGlutMotion(int x, int y);
void onGlutVisibility(int state);
void onGlutSpecialUp(int key, int x, int y);
void onGlutKeyboardUp(unsigned char key, int x, int y);

// What the callbacks build, apart from GLUT itself. `glutModifiers` is the GLUT modifier state
// (GLUT_ACTIVE_SHIFT, GLUT_ACTIVE_CTRL, GLUT_ACTIVE_ALT); a modifier bit is added to the key only when
// exactly one modifier is held.

// A character key. Under Ctrl alone the control characters of the letters a, c, f, v, x, y and z become
// those letters, so Ctrl+C arrives as Ctrl plus 'c'.
VDKey keyFromGlutCharacter(unsigned char c, int glutModifiers);
// A special key through the special-key table (Down is 256, Page Up 272). Codes outside the table, such as
// the modifier keys themselves, are moved above the character range (SPECIAL_OTHER + code) so that they
// cannot be read as characters: GLUT numbers Shift 112, which would otherwise type 'p'.
VDKey keyFromGlutSpecial(int code, int glutModifiers);
constexpr int SPECIAL_OTHER = 0x200;
// GLUT's left, middle and right buttons (0, 1, 2) as the toolkit numbers them (0 left, 1 right, 2 middle);
// -1 for any other button, whose events are ignored.
int buttonFromGlut(int glutButton);

VDKeyDownEvent keyDownFromGlutCharacter(unsigned char c, int glutModifiers);
VDKeyDownEvent keyDownFromGlutSpecial(int code, int glutModifiers);
// Key releases carry no modifier bits: the byte as GLUT gave it, or the mapped special code.
VDKeyUpEvent keyUpFromGlutCharacter(unsigned char c);
VDKeyUpEvent keyUpFromGlutSpecial(int code);
// A button release (GLUT_UP) or press at GLUT's window coordinates; null for an unmapped button.
std::unique_ptr<VDMouseButtonEvent> mouseEventFromGlut(int glutButton, int state, int x, int y);
