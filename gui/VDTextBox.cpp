#include "gui/VDTextBox.h"

#include <memory>

#include "gui/VDEvent.h"
#include "gui/VDScrollBar.h"
#include "gui/VDThemeStore.h"

VDTextBox::VDTextBox(bool hasScrollBar)
    : m_hasScrollBar(hasScrollBar), m_scrollBarWidth(hasScrollBar ? 30.0f : 0.0f) {}

VDTextBox::~VDTextBox() = default;

void VDTextBox::initialise() {
    if (m_hasScrollBar && m_scrollBar == nullptr) {
        auto bar = std::make_unique<VDScrollBar>();
        m_scrollBar = bar.get();
        m_focusIndex = addChild(std::move(bar));
        m_scrollBar->setFocused(true);
        m_scrollBar->setParent(this);
        m_scrollBar->setOrientation(VDScrollBar::VERTICAL);
        m_scrollBar->setMax(m_log.getCount());
        m_scrollBar->setValue(m_log.getCount());
    }
    setRectangle(m_rect);
}

void VDTextBox::setRectangle(const VDRect& rect) {
    m_rect.copyFrom(rect);
    if (m_scrollBar != nullptr) {
        m_scrollBar->setRectangle(
            VDRect(rect.getX2() - m_scrollBarWidth, rect.getY1(), rect.getX2(), rect.getY2()));
    }
}

int VDTextBox::getFirstLine() const {
    return m_firstLine;
}

void VDTextBox::setCapacity(int capacity) {
    m_log.setCapacity(capacity);
}

void VDTextBox::setFirstLine(int line) {
    const int count = m_log.getCount();
    m_firstLine = line < 0 ? 0 : (line > count ? count : line);
    if (m_scrollBar != nullptr) {
        m_scrollBar->setValue(count - m_firstLine - 1);
    }
}

const VDStringLog& VDTextBox::getLog() const {
    return m_log;
}

void VDTextBox::addLine(const std::string& text) {
    m_log.addLine(text);
    if (m_scrollBar != nullptr) {
        const int count = m_log.getCount();
        // Once the log is full the bar stays as it is, line after line: only a change is passed on.
        if (m_scrollBar->getMax() != count - 1) {
            m_scrollBar->setMax(count - 1);
        }
        m_scrollBar->setValue(count - (m_firstLine + 1));
    }
}

bool VDTextBox::handleEvent(VDEvent* event) {
    if (event->getType() == VDEvent::REDISPLAY) {
        if (VDTheme* theme = currentTheme()) {
            theme->drawTextBox(this);
        }
    } else if (event->getType() == VDEvent::SCROLL_VALUE) {
        if (auto* scrolled = dynamic_cast<VDScrollValueEvent*>(event)) {
            m_firstLine = m_log.getCount() - scrolled->getValue() - 1;
            requestRedisplay();
            return true;
        }
    }
    return dispatch(event);
}
