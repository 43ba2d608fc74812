#include "platform/PenDashes.h"

#include "platform/GdiConstants.h"

std::vector<int> PenDashes(int penStyle) {
    switch (penStyle) {
    case PS_DASH:
        return {18, 6};
    case PS_DOT:
        return {3, 3};
    case PS_DASHDOT:
        return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}
