#include "gui/VDTextButton.h"

#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"

VDTextButton::VDTextButton() = default;
VDTextButton::~VDTextButton() = default;

bool VDTextButton::handleEvent(VDEvent* event) {
    if (event->getType() == VDEvent::REDISPLAY) {
        if (VDTheme* theme = currentTheme()) {
            theme->drawTextButton(this);
        }
    }
    if (VDButton::handleEvent(event)) {
        return true;
    }
    return dispatch(event);
}
