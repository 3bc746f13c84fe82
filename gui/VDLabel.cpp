#include "gui/VDLabel.h"

#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"

VDLabel::VDLabel() = default;
VDLabel::~VDLabel() = default;

bool VDLabel::handleEvent(VDEvent* event) {
    if (event->getType() == VDEvent::REDISPLAY) {
        if (VDTheme* theme = currentTheme()) {
            theme->drawLabel(this);
        }
    }
    return false;
}

void VDLabel::setText(const std::string& text) {
    m_text = text;
}
