#include "view/MazePrintDialogValues.h"

#include "forms/IntegerFieldCheck.h"

MazePrintDialogValues::Controls MazePrintDialogValues::ToControls() const {
    Controls c;
    c.maze = settings.printMaze != 0;
    c.solution = settings.printSolution != 0;
    c.compatible = settings.printCompatible != 0;
    for (int layer = 1; layer <= 4; ++layer) {
        c.mazeLayers[layer] = settings.mazeLayers[layer] != 0;
        c.solutionLayers[layer] = settings.solutionLayers[layer] != 0;
    }
    c.count = std::to_string(settings.numberOfMazes);
    return c;
}

std::optional<DialogFieldError> MazePrintDialogValues::FromControls(const Controls& controls) {
    MazePrintSettings next = settings;
    next.printMaze = controls.maze ? 1 : 0;
    next.printSolution = controls.solution ? 1 : 0;
    next.printCompatible = controls.compatible ? 1 : 0;
    for (int layer = 1; layer <= 4; ++layer) {
        next.mazeLayers[layer] = controls.mazeLayers[layer] ? 1 : 0;
        next.solutionLayers[layer] = controls.solutionLayers[layer] ? 1 : 0;
    }
    if (auto error =
            IntegerFieldCheck::ReadInRange(kCountId, controls.count, MazePrintSettings::kMinMazes,
                                           MazePrintSettings::kMaxMazes, next.numberOfMazes))
        return error;
    settings = next;
    return std::nullopt;
}
