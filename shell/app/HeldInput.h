#pragma once

#include <cstddef>
#include <deque>
#include <functional>

// One input callback's worth of what GLUT reported, kept so that it can be handed on later as if it had
// just arrived.
struct GlutInput {
    enum class Kind { Keyboard, Special, Mouse, Motion, SpecialUp, KeyboardUp };
    Kind kind = Kind::Keyboard;
    int code = 0;   // the character or the special key; the mouse button
    int state = 0;  // the mouse button's GLUT_UP or GLUT_DOWN
    int x = 0;
    int y = 0;
    int modifiers = 0;  // glutGetModifiers() as it was, for keys and buttons

    // A press of Escape (modifiers or not).
    bool isEscape() const { return kind == Kind::Keyboard && code == 27; }
};

// Input that waits while the program is busy with a log import, handed on afterwards in the order it came.
// Escape does not wait: it cancels the import.
class HeldInput {
  public:
    enum class Verdict { Deliver, Held, CancelImport };

    // What to do with input that has just arrived. `importing`: an import is being read; `busy`: that, or
    // an import has ended and what follows it has not run yet. Input that is held is kept here. Input
    // also waits while earlier input does, so that nothing overtakes it.
    Verdict arrive(const GlutInput& input, bool importing, bool busy);
    // Hands on the waiting input, oldest first, for as long as `busy` answers false: input that starts
    // another import leaves the rest waiting for its end.
    void replay(const std::function<void(const GlutInput&)>& deliver, const std::function<bool()>& busy);

    bool empty() const { return m_waiting.empty(); }
    size_t size() const { return m_waiting.size(); }
    void clear() { m_waiting.clear(); }

  private:
    std::deque<GlutInput> m_waiting;
};
