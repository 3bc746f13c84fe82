#pragma once

#include <array>

#include "simdata/SDDevsVisualState.h"

class SDDetailNodeCUBE;

// Paints one cube in a fixed colour. The cube belongs to someone else (a cell or the scene graph).
class SDColoredCUBE : public SDDevsVisualState {
  public:
    // Without a colour the state leaves its cube as it is until setColor gives one.
    explicit SDColoredCUBE(SDDetailNodeCUBE* target);
    SDColoredCUBE(SDDetailNodeCUBE* target, const std::array<float, 4>& color);
    SDColoredCUBE(const SDColoredCUBE&) = default;
    SDColoredCUBE& operator=(const SDColoredCUBE&) = default;

    ~SDColoredCUBE() override;
    // Sets the cube's colour (red, green, blue, alpha).
    void apply() override;
    // The cube keeps the colour it was given.
    void remove() override;

    void setColor(float red, float green, float blue, float alpha);
    const std::array<float, 4>& getColor() const { return m_color; }
    bool hasColor() const { return m_hasColor; }
    SDDetailNodeCUBE* getTarget() const { return m_target; }

  private:
    SDDetailNodeCUBE* m_target;  // not owned
    std::array<float, 4> m_color{0.0f, 0.0f, 0.0f, 0.0f};
    bool m_hasColor = false;
};
