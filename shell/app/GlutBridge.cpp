#include "shell/app/GlutBridge.h"

#include <GL/freeglut.h>

void onGlutDisplay() {}
void onGlutReshape(int, int) {}
void onGlutKeyboard(unsigned char, int, int) {}
void onGlutSpecial(int, int, int) {}
void onGlutMouse(int, int, int, int) {}
void onGlutMotion(int, int) {}
void onGlutVisibility(int) {}
void onGlutSpecialUp(int, int, int) {}
void onGlutKeyboardUp(unsigned char, int, int) {}

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
