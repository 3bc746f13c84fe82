#pragma once

// Lets an end-to-end test know when the program has handled what the test sent and the picture shows it.
//
// Only when the environment variable TESSARON_SYNC_FILE names a file: every pointer move is answered by the
// line "sync <x> <y>" (GLUT's window coordinates) appended to that file, once the loop has handled every
// event that arrived before the move and the frame those events asked for is on screen. The X server delivers
// events in order, so a test that moves the pointer after its keys and clicks and waits for that line knows a
// screenshot shows their effect. A move that arrives during a log import waits with the rest of the input;
// once handed on, it is answered when no import runs and no held input waits, and the frame after that is
// on screen. Without the variable none of this runs and nothing changes for users.
void initSyncProbe();
// Called by the pointer callbacks after the event has been delivered.
void syncProbePointerMoved(int x, int y);
