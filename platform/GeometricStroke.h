#pragma once
#include "platform/CPoint.h"

#include <vector>

// The outline of a geometric pen's line through the points: `width` pixels across, ends cut
// square at the points, corners of solid lines mitred; styled lines (PS_DASH .. PS_DASHDOTDOT)
// break into dashes three widths long and dots one width long, with gaps of one width, the
// pattern running on across corners. One polygon per dash, segment and corner; each fills
// with the ordinary polygon rule.
std::vector<std::vector<CPoint>> GeometricStrokePolygons(const std::vector<CPoint>& points,
                                                         bool closed, int style, int width);
