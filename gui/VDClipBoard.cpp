#include "gui/VDClipBoard.h"

VDClipBoard::~VDClipBoard() = default;

VDClipBoard* getClipBoard() {
    static VDClipBoard clipBoard;
    return &clipBoard;
}
