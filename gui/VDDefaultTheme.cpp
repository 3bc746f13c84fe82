#include "gui/VDDefaultTheme.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "gui/VDEditBox.h"
#include "gui/VDLabel.h"
#include "gui/VDPanel.h"
#include "gui/VDPlotPainter.h"
#include "gui/VDPlotPanel.h"
#include "gui/VDScrollBar.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "gui/VDTextButton.h"
#include "gui/VDUtf8.h"

namespace {

void setColour(const VDDefaultTheme::Colour& c) {
    glColor4f(c.r, c.g, c.b, c.a);
}

void fill(const VDRect& r) {
    glBegin(GL_POLYGON);
    r.emitVertices();
    glEnd();
}

void outline(const VDRect& r) {
    glBegin(GL_LINE_LOOP);
    r.emitVertices();
    glEnd();
}

void line(float ax, float ay, float bx, float by) {
    glBegin(GL_LINES);
    glVertex2f(ax, ay);
    glVertex2f(bx, by);
    glEnd();
}

void quad(float ax, float ay, float bx, float by, float cx, float cy, float dx, float dy, GLenum mode) {
    glBegin(mode);
    glVertex2f(ax, ay);
    glVertex2f(bx, by);
    glVertex2f(cx, cy);
    glVertex2f(dx, dy);
    glEnd();
}

}  // namespace

VDDefaultTheme::VDDefaultTheme() = default;

VDDefaultTheme::~VDDefaultTheme() {
    release();
}

void VDDefaultTheme::initialise() {
    m_boxFill = {0.3f, 0.3f, 0.3f, 0.3f};
    m_boxText = {0.9f, 0.9f, 0.9f, 1.0f};
    m_boxBorder = {0.5f, 0.5f, 0.5f, 0.5f};
    m_focus = {1.0f, 1.0f, 1.0f, 1.0f};
    m_panelEdge = {0.2f, 0.2f, 0.2f, 1.0f};
    m_selection = {0.5f, 0.7f, 0.5f, 0.5f};
    m_labelText = {0.8f, 0.8f, 0.8f, 1.0f};
    m_panelFill = {0.6f, 0.65f, 0.6f, 0.8f};
    m_panelClient = {0.0f, 0.0f, 0.0f, 0.4f};
    m_bevelLight = {1.0f, 1.0f, 1.0f, 0.8f};
    m_bevelDark = {0.4f, 0.4f, 0.4f, 0.8f};
    m_buttonFace = {0.5f, 0.5f, 0.5f, 1.0f};
    m_buttonLight = {0.7f, 0.7f, 0.7f, 1.0f};
    m_buttonDark = {0.3f, 0.3f, 0.3f, 1.0f};

    m_titleFont = std::make_unique<VDBitmapFont>("Lucida Console", 14, true, false);
    m_textFont = std::make_unique<VDBitmapFont>("Lucida Console", 12, false, false);
    const VDBitmapFont::Metrics metrics = m_textFont->getMetrics();
    m_charWidth = metrics.charWidth;
    m_charHeight = metrics.charHeight;
    m_charThird = metrics.third;

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glClearDepth(1);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPolygonOffset(0, -3);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void VDDefaultTheme::release() {
    m_titleFont.reset();
    m_textFont.reset();
}

int VDDefaultTheme::visibleLines(const VDWindow* window) const {
    if (window == nullptr || m_charHeight <= 0.0f) {
        return 0;
    }
    // As the text box lays its lines out: the first 5 pixels above its bottom edge, one every character
    // height + 2, each wholly inside.
    const float room = window->getRectangle().getHeight() - 5.0f - m_charHeight;
    if (room < 0.0f) {
        return 0;
    }
    return static_cast<int>(std::floor(room / (m_charHeight + 2.0f))) + 1;
}

void VDDefaultTheme::begin2D(float width, float height) {
    glDisable(GL_TEXTURE_2D);
    glLineWidth(1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -10, 100);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    m_status = 0;
    glEnable(GL_BLEND);
}

void VDDefaultTheme::end2D() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

int VDDefaultTheme::doClearScreen() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return 0;
}

int VDDefaultTheme::doDrawLabel(VDLabel* label) {
    const VDRect r = label->getRectangle();
    setColour(m_labelText);
    std::string text = label->getText();
    // 5 pixels in from either end, as the text starts.
    if (label->isFitted() && m_charWidth > 0.0f) {
        text = VDLabel::fitText(text, static_cast<int>(std::floor((r.getWidth() - 10.0f) / m_charWidth)));
    }
    drawText(m_textFont.get(), static_cast<int>(r.getX1() + 5), static_cast<int>(r.getY1() + 5), text);
    return 0;
}

int VDDefaultTheme::doDrawEditBox(VDEditBox* box) {
    const VDRect r = box->getRectangle();
    const float x1 = r.getX1();
    const float y1 = r.getY1();
    const float w = m_charWidth;
    const float h = m_charHeight;
    const std::string& text = box->getText();

    // A line wider than the box (the console's command line takes more than fits) shows the part that ends
    // at the cursor, so the cursor and the typed text stay inside the frame. Shorter lines start at the left
    // edge as always.
    int first = 0;
    const int fits = w > 0 ? static_cast<int>((r.getWidth() - 10) / w) : 0;
    if (fits > 0 && static_cast<int>(text.size()) > fits) {
        first = std::max(0, box->getCursor() - fits);
    }
    const std::string shown =
        first > 0 || static_cast<int>(text.size()) > fits
            ? text.substr(static_cast<size_t>(first), static_cast<size_t>(std::max(fits, 0)))
            : text;
    const float c = static_cast<float>(box->getCursor() - first);

    setColour(m_boxFill);
    fill(r);
    setColour(box->isFocused() ? m_focus : m_boxBorder);
    glLineWidth(2);
    outline(r);
    glLineWidth(1);

    setColour(m_boxText);
    drawText(m_textFont.get(), static_cast<int>(x1 + 5), static_cast<int>(y1 + 5), shown);
    line(c * (w + 0.01f) + x1 + 6, y1 + 3, c * (w + 0.01f) + x1 + 5, y1 + 9 + h);

    if (box->getAnchor() != -1) {
        const float s = std::clamp(static_cast<float>(box->getAnchor() - first), 0.0f,
                                   static_cast<float>(std::max(fits, 0)));
        // The quad runs from the cursor to the anchor, so it faces away when the anchor is left of the
        // cursor.
        glDisable(GL_CULL_FACE);
        setColour(m_selection);
        quad(c * w + x1 + 6, y1, s * w + x1 + 6, y1, s * w + x1 + 5, y1 + 9 + h, c * w + x1 + 5, y1 + 9 + h,
             GL_POLYGON);
        quad(c * w + x1 + 6, y1, s * w + x1 + 6, y1, s * w + x1 + 5, y1 + 9 + h, c * w + x1 + 5, y1 + 9 + h,
             GL_LINE_LOOP);
        glEnable(GL_CULL_FACE);
    }
    return 0;
}

int VDDefaultTheme::doDrawTextBox(VDTextBox* box) {
    VDRect r = box->getRectangle();
    r.setX2(r.getX2() - box->getScrollBarWidth());
    const float x1 = r.getX1();
    const float y1 = r.getY1();
    const float y2 = r.getY2();
    const float w = m_charWidth;
    const float h = m_charHeight;

    setColour(m_boxFill);
    fill(r);
    setColour(box->isFocused() ? m_focus : m_boxBorder);
    glLineWidth(2);
    outline(r);
    glLineWidth(1);

    setColour(m_boxText);
    const float room = r.getWidth() - 5;
    const VDStringLog& log = box->getLog();
    int skipped = 0;
    int k = 0;
    for (auto it = log.begin(); it != log.end(); ++it) {
        if (skipped < box->getFirstLine()) {
            ++skipped;
            continue;
        }
        const float y = y1 + 5 + static_cast<float>(k) * (h + 2);
        if (y + h > y2) {
            break;
        }
        const std::string& text = *it;
        if (static_cast<float>(VDUtf8::length(text)) * w < room) {
            drawText(m_textFont.get(), static_cast<int>(x1 + 5), static_cast<int>(y), text);
        } else {
            const float fit = w > 0.0f ? std::floor(room / w) : 0.0f;
            const size_t count = fit > 0.0f ? static_cast<size_t>(fit) : 0;
            drawText(m_textFont.get(), static_cast<int>(x1 + 5), static_cast<int>(y),
                     VDUtf8::head(text, count));
        }
        ++k;
    }
    return 0;
}

int VDDefaultTheme::doDrawPanel(VDPanel* panel) {
    const VDRect r = panel->getRectangle();
    const float x1 = r.getX1();
    const float y1 = r.getY1();
    const float x2 = r.getX2();
    const float y2 = r.getY2();
    const float m = std::trunc(panel->getMargin());
    const float t = std::trunc(panel->getTitleHeight());
    const int highlight = panel->getHighlight();

    Colour back = m_panelFill;
    if (panel->isOpaque()) {
        // Whatever is drawn over a wholly opaque fill blends with it alone.
        back.a = 1.0f;
    }
    setColour(back);
    fill(r);
    setColour(m_bevelLight);
    line(x1, y1, x1, y2);
    line(x1, y2, x2, y2);
    setColour(m_bevelDark);
    line(x1, y1, x2, y1);
    line(x2, y1, x2, y2);
    setColour(m_panelClient);
    quad(x1 + m, y1 + m, x2 - m, y1 + m, x2 - m, y2 - t - m, x1 + m, y2 - t - m, GL_POLYGON);

    glLineWidth(3);
    setColour(m_panelEdge);
    if (highlight & VDPanel::EDGE_LEFT) {
        line(x1, y1, x1, y2);
    }
    if (highlight & VDPanel::EDGE_RIGHT) {
        line(x2, y1, x2, y2);
    }
    if (highlight & VDPanel::EDGE_TOP) {
        line(x1, y2, x2, y2);
    }
    if (highlight & VDPanel::EDGE_BOTTOM) {
        line(x1, y1, x2, y1);
    }
    if (highlight & VDPanel::TITLE_BAR) {
        quad(x1 + m, y2 - m, x2 - m, y2 - m, x2 - m, y2 - t - m, x1 + m, y2 - t - m, GL_LINE_LOOP);
    }
    glLineWidth(1);

    if (!panel->getTitle().empty()) {
        setColour((highlight & VDPanel::TITLE_BAR) ? m_panelEdge : m_labelText);
        drawText(m_titleFont.get(), static_cast<int>(x1 + m + 5), static_cast<int>(y2 - m - 15),
                 panel->getTitle());
    }
    return 0;
}

int VDDefaultTheme::doDrawScrollBar(VDScrollBar* bar) {
    glColor4f(0, 0, 0, 0.5f);
    fill(bar->getRectangle());
    const VDRect thumb = bar->getThumbRect();
    setColour(m_bevelLight);
    fill(thumb);
    line(thumb.getX1(), thumb.getY1(), thumb.getX1(), thumb.getY2());
    line(thumb.getX1(), thumb.getY2(), thumb.getX2(), thumb.getY2());
    setColour(m_bevelDark);
    line(thumb.getX1(), thumb.getY1(), thumb.getX2(), thumb.getY1());
    line(thumb.getX2(), thumb.getY1(), thumb.getX2(), thumb.getY2());
    return 0;
}

int VDDefaultTheme::doDrawTextButton(VDTextButton* button) {
    const VDRect r = button->getRectangle();
    const float x1 = r.getX1();
    const float y1 = r.getY1();
    const float x2 = r.getX2();
    const float y2 = r.getY2();
    const bool pressed = button->isPressed();

    setColour(button->isHover() ? m_panelEdge : m_buttonFace);
    glEnable(GL_BLEND);
    fill(r);
    setColour(pressed ? m_buttonDark : m_buttonLight);
    line(x1, y1, x1, y2);
    line(x1, y2, x2, y2);
    setColour(pressed ? m_buttonLight : m_buttonDark);
    line(x1, y1, x2, y1);
    line(x2, y1, x2, y2);

    setColour(button->isFocused() ? m_focus : m_labelText);
    if (pressed) {
        drawText(m_textFont.get(), static_cast<int>(x1 + 6), static_cast<int>(y1 + 5), button->getCaption());
    } else {
        drawText(m_textFont.get(), static_cast<int>(x1 + 5), static_cast<int>(y1 + 6), button->getCaption());
    }
    return 0;
}

int VDDefaultTheme::doDrawPlot(VDPlotPanel* plot) {
    plot->setTextSize(m_charWidth, m_charHeight);
    VDPlotPainter(m_textFont.get(), m_labelText.r, m_labelText.g, m_labelText.b).draw(*plot);
    return 0;
}

bool VDDefaultTheme::isCutKey(const VDKey& key) const {
    return key.getValue() == (VDKey::KEY_CONTROL | 'x') ||
           key.getValue() == (VDKey::KEY_SHIFT | VDKey::KEY_DELETE);
}

bool VDDefaultTheme::isCopyKey(const VDKey& key) const {
    return key.getValue() == (VDKey::KEY_CONTROL | VDKey::KEY_INSERT) ||
           key.getValue() == (VDKey::KEY_CONTROL | 'c');
}

bool VDDefaultTheme::isPasteKey(const VDKey& key) const {
    return key.getValue() == (VDKey::KEY_CONTROL | 'v') ||
           key.getValue() == (VDKey::KEY_SHIFT | VDKey::KEY_INSERT);
}

bool VDDefaultTheme::isSelectButton(int button) const {
    return button == 0;
}

bool VDDefaultTheme::isNextFocusKey(const VDKey& key) const {
    return key.getValue() == VDKey::KEY_RIGHT || key.getValue() == VDKey::KEY_TAB;
}

bool VDDefaultTheme::isPreviousFocusKey(const VDKey& key) const {
    return key.getValue() == VDKey::KEY_LEFT || key.getValue() == (VDKey::KEY_SHIFT | VDKey::KEY_TAB);
}

bool VDDefaultTheme::isResizeButton(int button) const {
    return button == 0;
}

bool VDDefaultTheme::isMoveButton(int button) const {
    return button == 0;
}

bool VDDefaultTheme::isScrollButton(int button) const {
    return button == 0;
}

bool VDDefaultTheme::isDownKey(const VDKey& key) const {
    return key.getValue() == VDKey::KEY_DOWN;
}
