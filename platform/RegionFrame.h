#pragma once
#include "platform/PolygonScanner.h"

#include <vector>

// The pixels of a region's frame: every inside pixel that lies fewer than `width` pixels
// across, or `height` pixels up or down, from an outside one; returned as one-row runs.
std::vector<CRect> RegionFrameRuns(const PolygonScanner& shape, int width, int height);
