#pragma once

#include <string>

// The program's own clipboard for cut, copy and paste in edit boxes; it does not touch the system's.
class VDClipBoard {
  public:
    VDClipBoard() = default;
    VDClipBoard(const VDClipBoard&) = delete;
    VDClipBoard& operator=(const VDClipBoard&) = delete;
    virtual ~VDClipBoard();

    void setText(const std::string& text) { m_text = text; }
    std::string getText() const { return m_text; }

  private:
    std::string m_text;
};

// The one clipboard of the process; it starts empty and lives as long as the program.
VDClipBoard* getClipBoard();
