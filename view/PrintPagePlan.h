#pragma once
#include "view/MazePrintSettings.h"

// Which page of a print run shows what: maze or solution page, and whether the document
// grows a new maze before it.
class PrintPagePlan {
public:
    struct Page {
        bool solution = false;
        bool regenerate = false;
    };

    // A preview always has two pages and never changes the maze.
    PrintPagePlan(const MazePrintSettings& settings, bool preview);

    // 0 when neither page kind is chosen.
    int PageCount() const;
    // `page` counts from 1.
    Page At(int page) const;

private:
    bool maze_;
    bool solution_;
    int mazes_;
    bool preview_;
};
