#pragma once
#include "document/WkzContent.h"
#include "platform/CArchive.h"

#include <string>

// Writes a maze document file: version 1 (header, ring counts, grids) or version 2 (also the
// magic text, the tiler choice, the layer objects and the seed points).
class WkzWriter {
public:
    // Picks the layout by content.version: below 2.0 version 1, below 3.0 version 2; any
    // other version writes nothing and returns false with the message for the user.
    static bool Write(const WkzContent& content, CArchive& ar, std::string& error);
    static void WriteV1(const WkzContent& content, CArchive& ar);
    static void WriteV2(const WkzContent& content, CArchive& ar);

private:
    static void WriteSettings(const WkzContent& c, CArchive& ar, bool withTiler);
    static void WriteRingCounts(const WkzContent& c, CArchive& ar);
    static void WriteGrids(const WkzContent& c, CArchive& ar);
    static void WriteZeros(CArchive& ar, int count);
};
