#pragma once

// The program's only link to GLUT input and drawing: each callback turns what GLUT reports into one toolkit
// event for the main window. Every callback does nothing while no main window exists.
void registerGlutCallbacks();

void onGlutDisplay();
void onGlutReshape(int width, int height);
void onGlutKeyboard(unsigned char key, int x, int y);
void onGlutSpecial(int key, int x, int y);
void onGlutMouse(int button, int state, int x, int y);
void onGlutMotion(int x, int y);
void onGlutVisibility(int state);
void onGlutSpecialUp(int key, int x, int y);
void onGlutKeyboardUp(unsigned char key, int x, int y);
