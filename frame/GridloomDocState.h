#pragma once
#include "frame/IMazeState.h"

class CGridloomDoc;

// The maze document's state as the main frame reads it to enable the maze commands.
class GridloomDocState : public IMazeState {
public:
    explicit GridloomDocState(const CGridloomDoc& doc) : doc_(doc) {}

    int GridCount() const override;
    bool IsMazeMade() const override;
    bool IsCleared() const override;
    bool IsCircular() const override;

private:
    const CGridloomDoc& doc_;
};
