#pragma once

// A key as one integer: a character 0..255 (the byte the keyboard gave) or a special key 256..276, plus
// modifier bits. Receivers compare the whole value, so Shift+Enter (0x100D) is not Enter (13).
class VDKey {
  public:
    static constexpr int KEY_SHIFT = 0x1000;
    static constexpr int KEY_CONTROL = 0x2000;
    static constexpr int KEY_ALT = 0x4000;

    // Special keys.
    static constexpr int KEY_DOWN = 256;
    static constexpr int KEY_F1 = 257;
    static constexpr int KEY_F12 = 268;
    static constexpr int KEY_LEFT = 269;
    static constexpr int KEY_UP = 270;
    static constexpr int KEY_RIGHT = 271;
    static constexpr int KEY_PAGE_UP = 272;
    static constexpr int KEY_PAGE_DOWN = 273;
    static constexpr int KEY_HOME = 274;
    static constexpr int KEY_END = 275;
    static constexpr int KEY_INSERT = 276;

    // Characters the toolkit tests for.
    static constexpr int KEY_BACKSPACE = 8;
    static constexpr int KEY_TAB = 9;
    static constexpr int KEY_ENTER = 13;
    static constexpr int KEY_ESCAPE = 27;
    static constexpr int KEY_BACKQUOTE = 96;
    static constexpr int KEY_DELETE = 127;

    VDKey() = default;
    VDKey(int value) : m_value(value) {}  // implicit on purpose: a key is its value
    VDKey(const VDKey&) = default;
    VDKey& operator=(const VDKey&) = default;
    virtual ~VDKey();

    int getValue() const { return m_value; }
    VDKey& addShift();
    VDKey& addControl();
    VDKey& addAlt();
    // The value without the modifier bits (bits 12 to 15).
    int getCode() const { return m_value & ~0xF000; }
    bool isShift() const { return (m_value & KEY_SHIFT) != 0; }
    unsigned char getChar() const { return static_cast<unsigned char>(m_value & 0xFF); }
    bool isPrintable() const { return getCode() >= 32 && getCode() <= 126; }

  private:
    int m_value = 0;
};
