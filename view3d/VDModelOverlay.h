#pragma once

#include <string>
#include <vector>

#include "control/VCModelView.h"
#include "gui/VDWindow.h"
#include "view3d/VDCellOverlay.h"

// The text over the models' blocks, in the 2D pass after the 3D picture: each block's name above it, its
// ports' names and values beside their markers, and the value of each message drawn along its arrow.
//
// Texts never write over each other: they are placed in order (the names from the outermost model in, then
// the ports, then the messages of the moment), each whole where it overlaps no text placed before, else cut
// to the room the layout kept for it (ending in '~'), else left out. A name or a port is also left out when
// the picture gives its line less than most of a line of text. So coming nearer shows more. A message's
// value is tried at places along its arrow and beside it, whole, and left out where every place is taken:
// it never covers a name or a port. A port's label hides the lines under it (an arrow to or from its port
// runs along its row), on a patch of the background as large as the room it was placed in.
class VDModelOverlay {
  public:
    // The matrices the 3D picture was drawn with; the picture fills `viewport`.
    VDModelOverlay(const double projection[16], const double view[16], const VDRect& viewport);

    void draw(const VCModelView::Labels& labels) const;

    // The text as it fits in `roomPixels`: whole, cut to end in '~', or empty when fewer than kFewest
    // characters would show.
    static std::string fitted(const std::string& text, float roomPixels, float charWidth);
    static constexpr size_t kFewest = 3;

    // Rectangles of the texts placed so far, for the test of a new one against them.
    class TextSpace {
      public:
        explicit TextSpace(const VDRect& viewport);
        // Whether the rectangle lies inside the viewport and meets no rectangle added before.
        bool isFree(float x1, float y1, float x2, float y2) const;
        void add(float x1, float y1, float x2, float y2);

      private:
        struct Box {
            float x1, y1, x2, y2;
        };
        // Buckets of kBucket pixels square, each listing the boxes that reach into it.
        static constexpr float kBucket = 64.0f;
        template <class Visit>
        void forBuckets(float x1, float y1, float x2, float y2, Visit visit) const;

        VDRect m_viewport;
        int m_columns = 0;
        int m_rows = 0;
        std::vector<Box> m_boxes;
        std::vector<std::vector<size_t>> m_buckets;
    };

    // Where a text `width` pixels wide stands along an arrow (its points on the screen, tail to head): on
    // each of its segments, the longest first, halfway, a quarter, three quarters, a tenth and nine tenths
    // along, above or below a level one and right or left of an upright one. The first place that is free
    // gives the text's left end and baseline; false when none is.
    struct ScreenPoint {
        float x;
        float y;
    };
    static bool placeAlong(const TextSpace& space, const std::vector<ScreenPoint>& arrow, float width,
                           float charHeight, float& left, float& base);

  private:
    // A text placed, and where it starts.
    struct Placed {
        int x;
        int y;
        int colour;
        std::string text;
        // A port's label is written on a patch of the background, ink box and margin, that hides the lines
        // under it: an arrow along the port's row runs through its label.
        bool backed = false;
        float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
    };
    // Places one label, centred on its anchor's height or standing on it, and adds it to `placed` unless it
    // is left out. `rowWorld`: the height its line has in the world, 0 when it need not be checked.
    void place(TextSpace& space, const VCModelView::Label& label, float charWidth, float charHeight,
               bool centred, float rowWorld, int colour, std::vector<Placed>& placed) const;

    VDCellOverlay m_projector;
    VDRect m_viewport;
};
