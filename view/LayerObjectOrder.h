#pragma once
#include "document/CLogicalRectTracker.h"

#include <vector>

// The layer objects' marks and order as the view's object commands change them. An object's
// selection style is its state: 0 not on the active layer, 1 on it, 2 selected.
class LayerObjectOrder {
public:
    static constexpr int kOffLayer = 0;
    static constexpr int kOnLayer = 1;
    static constexpr int kSelected = 2;

    using Objects = std::vector<CLogicalRectTracker>;

    static bool AnySelected(const Objects& objects);
    // Marks the objects of `layer` as on the active layer and every other one as off it.
    static void MarkLayer(Objects& objects, int layer);
    // Removes every selected object; returns how many.
    static int DeleteSelected(Objects& objects);
    // Moves the first selected object to the end (drawn last) or to the front (drawn first);
    // false when none is selected.
    static bool BringSelectedToTop(Objects& objects);
    static bool MoveSelectedToBottom(Objects& objects);
};
