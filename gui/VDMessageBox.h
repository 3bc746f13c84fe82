#pragma once

#include <string>

#include "gui/VDPanel.h"
#include "shell/VDDisposable.h"

class VDLabel;
class VDMessageBoxCallBack;

// A small modal panel that asks a question with two or three buttons and reports the pressed one to its
// callback. Once answered it hands itself to the garbage can, since the answer arrives inside its own event
// handler.
class VDMessageBox : public VDPanel, public VDDisposable {
  public:
    // Which buttons: "Yes" and "No"; "Ok" and "Cancel"; "Yes", "No" and "Cancel".
    static constexpr int KIND_YES_NO = 0;
    static constexpr int KIND_OK_CANCEL = 1;
    static constexpr int KIND_YES_NO_CANCEL = 2;

    // `callBack` is not owned.
    VDMessageBox(int kind, std::string message, VDMessageBoxCallBack* callBack);
    ~VDMessageBox() override;

    bool handleEvent(VDEvent* event) override;
    // Builds the label and the buttons inside the rectangle the owner has given the box.
    void initialise() override;

    int getKind() const { return m_kind; }
    const std::string& getMessage() const { return m_message; }
    VDLabel* getLabel() const { return m_label; }

  private:
    void addButton(const char* caption, int id, float x1, float y1, float x2, float y2, bool focused);

    int m_idYes = 0;
    int m_idNo = 1;
    int m_idOk = 2;
    int m_idCancel = 3;
    std::string m_message;
    VDLabel* m_label = nullptr;  // one of m_children
    int m_kind;
    VDMessageBoxCallBack* m_callBack;
};
