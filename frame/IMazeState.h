#pragma once

// What the main frame needs to know of the active document to enable its commands.
class IMazeState {
public:
    virtual ~IMazeState() = default;
    virtual int GridCount() const = 0;
    virtual bool IsMazeMade() const = 0;
    virtual bool IsCleared() const = 0;
    virtual bool IsCircular() const = 0;
};
