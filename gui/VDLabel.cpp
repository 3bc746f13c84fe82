#include "gui/VDLabel.h"

#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"

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

std::string VDLabel::fitText(const std::string& text, int characters) {
    if (characters < 0) {
        return "";
    }
    const size_t room = static_cast<size_t>(characters);
    if (VDUtf8::length(text) <= room) {
        return text;
    }
    const std::string ellipsis = "...";
    if (room <= ellipsis.size()) {
        return ellipsis.substr(0, room);
    }
    return VDUtf8::head(text, room - ellipsis.size()) + ellipsis;
}
