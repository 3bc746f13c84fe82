#pragma once

#include <memory>

#include "gui/VDBitmapFont.h"
#include "gui/VDTheme.h"

// The toolkit's one look: translucent grey panels and boxes, bevelled buttons and thumbs, monospaced
// bitmap text. Key and button bindings work without initialise(), so input needs no GL context.
class VDDefaultTheme : public VDTheme {
  public:
    struct Colour {
        float r, g, b, a;
    };

    VDDefaultTheme();
    ~VDDefaultTheme() override;

    void initialise() override;
    void release() override;
    int visibleLines(const VDWindow* window) const override;
    void begin2D(float width, float height) override;
    void end2D() override;

    int doDrawLabel(VDLabel* window) override;
    int doDrawTextBox(VDTextBox* window) override;
    int doDrawEditBox(VDEditBox* window) override;
    int doDrawPanel(VDPanel* window) override;
    int doDrawScrollBar(VDScrollBar* window) override;
    int doDrawTextButton(VDTextButton* window) override;
    int doDrawPlot(VDPlotPanel* window) override;
    int doClearScreen() override;

    bool isCutKey(const VDKey& key) const override;
    bool isCopyKey(const VDKey& key) const override;
    bool isPasteKey(const VDKey& key) const override;
    bool isSelectButton(int button) const override;
    bool isNextFocusKey(const VDKey& key) const override;
    bool isPreviousFocusKey(const VDKey& key) const override;
    bool isResizeButton(int button) const override;
    bool isMoveButton(int button) const override;
    bool isScrollButton(int button) const override;
    bool isDownKey(const VDKey& key) const override;

    const VDBitmapFont* getTitleFont() const { return m_titleFont.get(); }
    const VDBitmapFont* getTextFont() const { return m_textFont.get(); }
    float getCharWidth() const { return m_charWidth; }
    float getCharHeight() const { return m_charHeight; }

  private:
    Colour m_boxFill{};
    Colour m_boxText{};
    Colour m_boxBorder{};
    Colour m_focus{};
    Colour m_panelEdge{};
    Colour m_selection{};
    Colour m_labelText{};
    Colour m_panelFill{};
    Colour m_panelClient{};
    Colour m_bevelLight{};
    Colour m_bevelDark{};
    Colour m_buttonFace{};
    Colour m_buttonLight{};
    Colour m_buttonDark{};
    std::unique_ptr<VDBitmapFont> m_titleFont;
    std::unique_ptr<VDBitmapFont> m_textFont;
    float m_charWidth = 0.0f;
    float m_charHeight = 0.0f;
    float m_charThird = 0.0f;
};
