#include "simdata/SDDevsVisualState.h"

SDDevsVisualState::~SDDevsVisualState() = default;
