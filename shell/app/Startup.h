#pragma once

// The program: opens the window, builds the process-wide objects in order and runs the GLUT main loop.
// Returns only when start-up fails, with a non-zero status.
int runTessaron(int argc, char** argv);
