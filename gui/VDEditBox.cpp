#include "gui/VDEditBox.h"

#include <algorithm>

#include "gui/VDClipBoard.h"
#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"
#include "shell/Log.h"

VDEditBox::VDEditBox() = default;
VDEditBox::~VDEditBox() = default;

void VDEditBox::setText(const std::string& text) {
    m_text = text;
    m_cursor = 0;
    endSelection();
}

void VDEditBox::setCursor(int cursor) {
    m_cursor = std::clamp(cursor, 0, length());
}

void VDEditBox::endSelection() {
    m_selecting = false;
    m_anchor = -1;
}

bool VDEditBox::handleEvent(VDEvent* event) {
    switch (event->getType()) {
        case VDEvent::REDISPLAY: {
            VDThemeStore* store = getThemeStore();
            if (store == nullptr) {
                logMessage("Unable to get theme store in edit box process event: Editbox ID = %i", m_id);
                return true;
            }
            VDTheme* theme = store->getCurrentTheme();
            if (theme == nullptr) {
                logMessage("Unable to get theme in edit box process event: Editbox ID = %i", m_id);
                return true;
            }
            theme->drawEditBox(this);
            return false;
        }
        case VDEvent::KEY_DOWN: {
            auto* down = dynamic_cast<VDKeyDownEvent*>(event);
            if (down == nullptr) {
                logMessage("Unable to case event to key down event even though its type says its one");
                return true;
            }
            if (!m_focused) {
                return false;
            }
            switch (handleKey(down->getKey())) {
                case KeyResult::Ignored:
                    return false;
                case KeyResult::Consumed:
                    return true;
                case KeyResult::Changed:
                    requestRedisplay();
                    return true;
            }
            return false;
        }
        default:
            return false;
    }
}

// Changed: the key was taken and the box must be redrawn; Consumed: taken, nothing to redraw (a refused
// insertion); Ignored: not a key for the box.
VDEditBox::KeyResult VDEditBox::handleKey(const VDKey& key) {
    const VDTheme& bindings = inputTheme();
    const int c = key.getCode();
    const int k = key.getValue();

    if (m_selectable && (c == VDKey::KEY_LEFT || c == VDKey::KEY_RIGHT || c == VDKey::KEY_HOME ||
                         c == VDKey::KEY_END || c == VDKey::KEY_BACKSPACE)) {
        if (!m_selecting && key.isShift()) {
            m_anchor = m_cursor;
            m_selecting = true;
        } else if (!key.isShift()) {
            endSelection();
        }
    }

    const int lo = std::min(m_cursor, m_anchor);
    const int hi = std::max(m_cursor, m_anchor);
    const bool selectionValid = m_selecting && lo >= 0 && hi <= length();

    switch (c) {
        case VDKey::KEY_LEFT:
            m_cursor = std::max(0, m_cursor - 1);
            return KeyResult::Changed;
        case VDKey::KEY_RIGHT:
            m_cursor = std::min(length(), m_cursor + 1);
            return KeyResult::Changed;
        case VDKey::KEY_HOME:
            m_cursor = 0;
            return KeyResult::Changed;
        case VDKey::KEY_END:
            m_cursor = length();
            return KeyResult::Changed;
        case VDKey::KEY_DELETE:
            if (!m_selecting) {
                if (m_cursor >= 0 && m_cursor < length()) {
                    m_text.erase(static_cast<size_t>(m_cursor), 1);
                }
            } else if (!selectionValid) {
                logMessage("Unable to delete selected section of edit box");
            } else {
                if (bindings.isCutKey(key)) {
                    getClipBoard()->setText(
                        m_text.substr(static_cast<size_t>(lo), static_cast<size_t>(hi - lo)));
                }
                m_text.erase(static_cast<size_t>(lo), static_cast<size_t>(hi - lo));
                if (m_cursor == hi) {
                    m_cursor = lo;
                }
                endSelection();
            }
            return KeyResult::Changed;
        default:
            break;
    }

    if (k == VDKey::KEY_BACKSPACE) {
        if (m_cursor > 0 && m_cursor <= length()) {
            m_text.erase(static_cast<size_t>(m_cursor - 1), 1);
            --m_cursor;
        }
        return KeyResult::Changed;
    }
    if (bindings.isPasteKey(key)) {
        const std::string pasted = getClipBoard()->getText();
        if (m_text.size() + pasted.size() > static_cast<size_t>(m_maxLength)) {
            return KeyResult::Consumed;
        }
        m_text.insert(static_cast<size_t>(std::clamp(m_cursor, 0, length())), pasted);
        return KeyResult::Changed;
    }
    if (bindings.isCopyKey(key)) {
        if (selectionValid) {
            getClipBoard()->setText(m_text.substr(static_cast<size_t>(lo), static_cast<size_t>(hi - lo)));
        }
        return KeyResult::Changed;
    }
    // The cut keys other than Shift+Delete (handled above): Ctrl+X cuts the selection.
    if (bindings.isCutKey(key)) {
        if (selectionValid) {
            getClipBoard()->setText(m_text.substr(static_cast<size_t>(lo), static_cast<size_t>(hi - lo)));
            m_text.erase(static_cast<size_t>(lo), static_cast<size_t>(hi - lo));
            m_cursor = lo;
            endSelection();
        }
        return KeyResult::Changed;
    }
    // Shift only picks the character; a key with Ctrl or Alt is a command, not text.
    if (!key.isPrintable() || (k & (VDKey::KEY_CONTROL | VDKey::KEY_ALT)) != 0) {
        return KeyResult::Ignored;
    }
    if (length() >= m_maxLength) {
        return KeyResult::Consumed;
    }
    const int at = std::clamp(m_cursor, 0, length());
    m_text.insert(static_cast<size_t>(at), 1, static_cast<char>(key.getChar()));
    m_cursor = at + 1;
    endSelection();
    return KeyResult::Changed;
}
