#pragma once

#include <string>

#include "gui/VDKey.h"
#include "gui/VDLabel.h"

// A one-line text entry with a cursor, a keyboard selection (Shift with the movement keys), a length limit
// for typing and pasting, and cut, copy and paste through the program's clipboard. Only a focused box
// takes keys; the mouse is ignored.
class VDEditBox : public VDLabel {
  public:
    static constexpr int DEFAULT_MAX_LENGTH = 50;

    VDEditBox();
    ~VDEditBox() override;

    bool handleEvent(VDEvent* event) override;
    // Replaces the text, puts the cursor at the start and ends any selection. May exceed the length limit.
    void setText(const std::string& text) override;

    // Clamped to 0..text length.
    void setCursor(int cursor);
    int getCursor() const { return m_cursor; }
    // The other end of the selection, -1 when none.
    int getAnchor() const { return m_anchor; }
    bool isSelecting() const { return m_selecting; }
    void setSelectable(bool selectable) { m_selectable = selectable; }
    int getMaxLength() const { return m_maxLength; }
    // Limits typing and pasting; a text set with setText may still be longer.
    void setMaxLength(int length) { m_maxLength = length; }

  private:
    enum class KeyResult { Ignored, Consumed, Changed };
    KeyResult handleKey(const VDKey& key);
    int length() const { return static_cast<int>(m_text.size()); }
    void endSelection();

    int m_cursor = 0;
    bool m_selectable = true;
    bool m_selecting = false;
    int m_anchor = -1;
    int m_maxLength = DEFAULT_MAX_LENGTH;
};
