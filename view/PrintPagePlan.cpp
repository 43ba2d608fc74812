#include "view/PrintPagePlan.h"

PrintPagePlan::PrintPagePlan(const MazePrintSettings& settings, bool preview)
    : maze_(settings.printMaze != 0), solution_(settings.printSolution != 0),
      mazes_(settings.CountInRange() ? settings.numberOfMazes : MazePrintSettings::kMinMazes),
      preview_(preview) {}

int PrintPagePlan::PageCount() const {
    if (!maze_ && !solution_)
        return 0;
    if (preview_)
        return 2;
    return mazes_ * ((maze_ ? 1 : 0) + (solution_ ? 1 : 0));
}

PrintPagePlan::Page PrintPagePlan::At(int page) const {
    Page p;
    if (maze_ && solution_) {
        // Odd pages show a maze, each even page the solution of the maze before it.
        p.solution = page % 2 == 0;
        p.regenerate = !p.solution && page > 1;
    } else if (maze_) {
        // Every page, the first included, shows a newly grown maze.
        p.regenerate = true;
    } else {
        p.solution = true;
    }
    if (preview_)
        p.regenerate = false;
    return p;
}
