#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "loader/SLCutLine.h"
#include "simdata/SDCELLDevsModel.h"

// The cells a log names on lines that are not messages (I, D and * lines): for each cell space, a record
// grown to hold every such cell. After the import the registry's cell spaces grow to them, so that a space
// has its true size even where no message reaches it.
class SLNamedCells {
  public:
    // Notes the cell of a model reference without its identifier, such as plane(24,24); a reference that is
    // not a cell, or has a negative coordinate, is passed over.
    void note(std::string_view reference);
    // The same for a reference the reader has split already.
    void note(const SLCutLine::End& reference);
    const std::map<std::string, std::unique_ptr<SDCELLDevsModel>, std::less<>>& getSpaces() const {
        return m_spaces;
    }

  private:
    std::map<std::string, std::unique_ptr<SDCELLDevsModel>, std::less<>> m_spaces;
    void noteCell(std::string_view name, const long long coordinates[3]);

    SDCELLDevsModel* m_last = nullptr;  // lines mostly name the same space in a row
    std::string m_scratch;
};
