#include "gui/VDMessageBox.h"

#include <memory>
#include <utility>

#include "gui/VDEvent.h"
#include "gui/VDLabel.h"
#include "gui/VDMessageBoxCallBack.h"
#include "gui/VDTextButton.h"
#include "shell/VDGarbageCan.h"

VDMessageBox::VDMessageBox(int kind, std::string message, VDMessageBoxCallBack* callBack)
    : m_message(std::move(message)), m_kind(kind), m_callBack(callBack) {
    m_movable = false;
    m_resizable = false;
}

VDMessageBox::~VDMessageBox() = default;

void VDMessageBox::addButton(const char* caption, int id, float x1, float y1, float x2, float y2,
                             bool focused) {
    auto button = std::make_unique<VDTextButton>();
    VDTextButton* raw = button.get();
    raw->setCaption(caption);
    raw->setParent(this);
    const int index = addChild(std::move(button));
    raw->setRectangle(VDRect(x1, y1, x2, y2));
    raw->setId(id);
    if (focused) {
        m_focusIndex = index;
        raw->setFocused(true);
    }
}

void VDMessageBox::initialise() {
    const float x1 = m_rect.getX1();
    const float y1 = m_rect.getY1();
    const float x2 = m_rect.getX2();
    const float y2 = m_rect.getY2();

    auto label = std::make_unique<VDLabel>();
    m_label = label.get();
    m_label->setText(m_message);
    m_label->setRectangle(VDRect(x1 + 2, y2 - 22, x2 - 2, y2 - 2));
    addChild(std::move(label));
    m_label->setParent(this);

    switch (m_kind) {
        case KIND_YES_NO:
            addButton("Yes", m_idYes, x1 + 120, y1 + 15, x1 + 190, y1 + 35, true);
            addButton("No", m_idNo, x1 + 210, y1 + 15, x1 + 280, y1 + 35, false);
            break;
        case KIND_OK_CANCEL:
            addButton("Ok", m_idOk, x1 + 20, y1 + 10, x1 + 60, y1 + 30, true);
            addButton("Cancel", m_idCancel, x1 + 80, y1 + 10, x1 + 120, y1 + 30, false);
            break;
        case KIND_YES_NO_CANCEL:
            addButton("Yes", m_idYes, x1 + 10, y1 + 10, x1 + 40, y1 + 30, true);
            addButton("No", m_idNo, x1 + 50, y1 + 10, x1 + 80, y1 + 30, false);
            addButton("Cancel", m_idCancel, x1 + 90, y1 + 10, x1 + 120, y1 + 30, false);
            break;
        default:
            break;
    }
}

bool VDMessageBox::handleEvent(VDEvent* event) {
    if (event->getType() == VDEvent::BUTTON_PRESS) {
        auto* press = dynamic_cast<VDButtonPressEvent*>(event);
        if (press == nullptr) {
            return true;
        }
        const int id = press->getSourceId();
        int result = -1;
        if (id == m_idYes) {
            result = VDMessageBoxCallBack::RESULT_YES;
        } else if (id == m_idNo) {
            result = VDMessageBoxCallBack::RESULT_NO;
        } else if (id == m_idOk) {
            result = VDMessageBoxCallBack::RESULT_OK;
        } else if (id == m_idCancel) {
            result = VDMessageBoxCallBack::RESULT_CANCEL;
        }
        // A press that answers nothing leaves the question open: the owner still holds the box.
        if (result < 0) {
            return true;
        }
        // Into the can before the answer goes out: the receiver may tear down the whole window tree, the
        // can included, and must find the box among the objects to delete. Nothing of the box is touched
        // after the callback.
        if (VDGarbageCan* can = getGarbageCan()) {
            can->dispose(this);
        }
        if (m_callBack != nullptr) {
            m_callBack->onResult(result);
        }
        return true;
    }
    if (VDPanel::handleEvent(event)) {
        return true;
    }
    return dispatch(event);
}
