#include "tests/support/GLTestContext.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
bool g_ready = false;
void noDisplay() {}

// GLUT ends the process when it cannot open the display, so wait here until the server accepts a
// connection: a virtual server that is starting up, or resetting after its last client left, refuses
// connections for a moment.
bool displayAccepts(const char* name) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* display = XOpenDisplay(name)) {
            XCloseDisplay(display);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}
}  // namespace

bool GLTestContext::ensure(int width, int height) {
    if (g_ready) {
        return true;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0' || !displayAccepts(display)) {
        return false;
    }
    int argc = 1;
    char name[] = "gl-test";
    char* argv[] = {name, nullptr};
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(width, height);
    glutInit(&argc, argv);
    glutCreateWindow("Tessaron GL test");
    glutDisplayFunc(noDisplay);
    glViewport(0, 0, width, height);
    g_ready = true;
    reset();
    return true;
}

GLTestContext::Pixel GLTestContext::pixel(int x, int y) {
    Pixel p;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

std::vector<GLTestContext::Pixel> GLTestContext::region(int x, int y, int width, int height) {
    std::vector<Pixel> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int GLTestContext::countNear(int x, int y, int width, int height, Pixel colour, int tolerance) {
    int n = 0;
    for (const Pixel& p : region(x, y, width, height)) {
        if (std::abs(p.r - colour.r) <= tolerance && std::abs(p.g - colour.g) <= tolerance &&
            std::abs(p.b - colour.b) <= tolerance) {
            ++n;
        }
    }
    return n;
}

void GLTestContext::reset() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_COLOR_MATERIAL);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

bool GLTestContext::sameColours(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b) {
            return false;
        }
    }
    return true;
}
