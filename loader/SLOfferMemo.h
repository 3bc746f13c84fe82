#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "loader/SLCutLine.h"

// What a message log's reader offered last for each end of a message (0 source, 1 destination). Most lines
// of a long run name a space and a cell in it that the registry holds already: their records change
// nothing, and filling and offering them again was a tenth of the reading. An end is described by its
// model's name, whether it is a cell, and the port the line adds to it (kind 'i' input, 'o' output, 0
// none). A cell's record holds the space grown to the cell, so every cell no farther out along any axis
// than cells whose records changed nothing is held as well.
class SLOfferMemo {
  public:
    // True when the record of `end` with this port would change nothing: offers of the same model and port
    // changed nothing, no farther out for a cell, and the sink's stamp (SLSink::modelsStamp) is still
    // `stamp`.
    bool covers(int which, const SLCutLine::End& end, char portKind, std::string_view port,
                uint64_t stamp) const;
    // After the record of `end` was offered, with the sink's stamps before and after the offer; `accepted`
    // false when its cell was refused (which is reported at each offer).
    void offered(int which, const SLCutLine::End& end, char portKind, std::string_view port, uint64_t before,
                 uint64_t after, bool accepted);
    void clear();

  private:
    struct Entry {
        bool valid = false;
        uint64_t stamp = 0;
        bool cell = false;
        std::string model;
        char portKind = 0;
        std::string port;
        long long reach[3] = {0, 0, 0};  // the farthest coordinates along each axis
    };
    static std::string_view modelOf(const SLCutLine::End& end) {
        return end.cell ? end.model : end.reference;
    }
    static bool same(const Entry& entry, const SLCutLine::End& end, char portKind, std::string_view port);

    Entry m_ends[2];
};
