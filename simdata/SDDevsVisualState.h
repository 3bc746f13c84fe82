#pragma once

// A look that a model or cell can take, chosen by the state number of a transition rule.
class SDDevsVisualState {
  public:
    virtual ~SDDevsVisualState();
    // Makes the look visible from the next frame on.
    virtual void apply() = 0;
    virtual void remove() = 0;
};
