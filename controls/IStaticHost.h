#pragma once
#include "platform/CRect.h"

#include <string>

class CFont;

// The window an owner-drawn static model lives in.
class IStaticHost {
public:
    virtual ~IStaticHost() = default;
    virtual std::string WindowText() const = 0;
    // The window's font; nullptr keeps the context's.
    virtual CFont* WindowFont() = 0;
    virtual CRect ClientRect() const = 0;
    // Gives the window a new size, keeping its place.
    virtual void Resize(CSize size) = 0;
    virtual void Invalidate() = 0;
};
