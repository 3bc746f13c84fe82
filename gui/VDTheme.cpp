#include "gui/VDTheme.h"

VDTheme::~VDTheme() = default;

void VDTheme::drawLabel(VDLabel* window) {
    if (doDrawLabel(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawTextBox(VDTextBox* window) {
    if (doDrawTextBox(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawEditBox(VDEditBox* window) {
    if (doDrawEditBox(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawPanel(VDPanel* window) {
    if (doDrawPanel(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawScrollBar(VDScrollBar* window) {
    if (doDrawScrollBar(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawTextButton(VDTextButton* window) {
    if (doDrawTextButton(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::drawPlot(VDPlotPanel* window) {
    if (doDrawPlot(window) == 1) {
        m_status = 1;
    }
}

void VDTheme::clearScreen() {
    if (doClearScreen() == 1) {
        m_status = 1;
    }
}
