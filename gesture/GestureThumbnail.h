#pragma once
#include "gesture/CGesturePad.h"
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <span>
#include <vector>

class CDC;
class CRaster;

// The small pictures shown after a stroke: the three best matches as text, and the ideal
// shape of a gesture class drawn as a chain of dots whose colour runs from red to blue.
class GestureThumbnail {
public:
    static constexpr int kSize = 50;
    // Where a shape is laid out inside the picture.
    static constexpr RECT kShapeRect{0, 0, kSize - 1, kSize - 1};

    // False when the picture could not be made; the image then stays as it was.
    static bool RenderTopList(const CGesturePad::TopList& top, CRaster& image);
    static bool RenderPrototype(int cls, CRaster& image);

    // One point more than there are angles, the first one placed so that the whole walk sits
    // centred inside `rect` less a tenth of its size on each side.
    static std::vector<CPoint> AnglesToPoints(std::span<const float> angles, const CRect& rect);
    // Lines between the points, in the segment colours, with a dot at each point.
    static void DrawPoints(CDC& dc, const std::vector<CPoint>& points, const CRect& rect);
    // A stroke's recorded points as red pixels, its reduced points as blue crosses.
    static void DrawStrokePoints(CDC& dc, const std::vector<CPoint>& raw,
                                 const std::vector<CPoint>& resampled);
    // Segment k of a drawn shape uses pen k / 2.
    static COLORREF SegmentPenColour(int pen);
};
