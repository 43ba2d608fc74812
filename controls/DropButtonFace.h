#pragma once
#include "platform/CRect.h"

class CDC;

// Size and looks of a drop-down button: a sunken field with a sample of the value and a
// scroll-down arrow at the right.
class DropButtonFace {
public:
    struct State {
        bool dropped = false;
        bool focused = false;
        bool disabled = false;
    };

    // Side of the square arrow.
    static int ArrowSide();
    // The size a button of `current` size takes: the arrow's height plus the edges, at least
    // wide enough for two arrows.
    static CSize FitSize(CSize current);
    static CRect ArrowRect(CSize client);

    // Draws the arrow, the edge and the background and leaves the context clipped to the
    // value's area, whose rectangle it returns; the caller draws the value, then restores the
    // context (RestoreDC(-1)).
    static CRect BeginItem(CDC& dc, CSize client, const State& state);
    static void DrawColour(CDC& dc, CSize client, const State& state, COLORREF color);
    static void DrawLineType(CDC& dc, CSize client, const State& state, int lineType,
                             COLORREF lineColor);
};
