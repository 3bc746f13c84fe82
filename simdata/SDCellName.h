#pragma once

#include <string>
#include <string_view>

// A model reference without its identifier, as events keep them: a plain model's name, or for a cell of a
// Cell-DEVS model name(x,y,z) (name(x,y) and name(x) too). Splits a cell's text into the model's name (the
// text before the last '(') and three coordinates: the pieces after that '(' between '(', ',' and ')',
// empty ones dropped, read as "%d" reads them; a missing or non-numeric piece gives 0 and pieces past the
// third are ignored. False, with nothing set, for a text without '(' (a plain model's name).
// `scratch` is reused for the number texts, so that splitting allocates nothing once it is large enough.
bool splitCellName(std::string_view text, std::string_view& model, long long coordinates[3],
                   std::string& scratch);
