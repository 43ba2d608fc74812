#include "document/WkzWriter.h"

#include "document/WkzMessages.h"

namespace {
constexpr const char* kMagic = "WKZ";
} // namespace

bool WkzWriter::Write(const WkzContent& content, CArchive& ar, std::string& error) {
    if (content.version < 2.0) {
        WriteV1(content, ar);
    } else if (content.version < 3.0) {
        WriteV2(content, ar);
    } else {
        error = WkzMessages::SaveVersionTooNew(content.version);
        return false;
    }
    return true;
}

void WkzWriter::WriteV1(const WkzContent& c, CArchive& ar) {
    ar << 1.0;
    WriteSettings(c, ar, false);
    WriteRingCounts(c, ar);
    WriteZeros(ar, 3);
    WriteGrids(c, ar);
}

void WkzWriter::WriteV2(const WkzContent& c, CArchive& ar) {
    ar << 2.0 << std::string(kMagic);
    WriteSettings(c, ar, true);
    WriteRingCounts(c, ar);
    WriteZeros(ar, 6);
    WriteGrids(c, ar);
    ar << static_cast<std::int32_t>(c.objects.size());
    for (const CLogicalRectTracker& o : c.objects)
        o.Store(ar);
    ar << static_cast<std::int32_t>(c.seedPoints.size());
    for (const CPoint& p : c.seedPoints)
        ar << static_cast<const POINT&>(p);
    WriteZeros(ar, 24);
}

void WkzWriter::WriteSettings(const WkzContent& c, CArchive& ar, bool withTiler) {
    ar << std::int32_t(c.kind) << c.name << std::int32_t(c.flags)
       << static_cast<std::int32_t>(c.grids.size()) << std::int32_t(c.scale)
       << std::int32_t(c.cursorColumn) << std::int32_t(c.xOffset) << std::int32_t(c.cursorRow)
       << std::int32_t(c.yOffset) << std::int32_t(c.columns) << std::int32_t(c.pageWidth)
       << std::int32_t(c.widthMultiplier) << std::int32_t(c.rows) << std::int32_t(c.pageHeight)
       << std::int32_t(c.heightMultiplier) << std::int32_t(c.seed);
    if (withTiler)
        ar << std::int32_t(0) << std::int32_t(c.tiled) << c.tilerId << std::int32_t(0);
}

void WkzWriter::WriteRingCounts(const WkzContent& c, CArchive& ar) {
    ar << static_cast<std::int32_t>(c.ringCounts.size());
    for (int n : c.ringCounts)
        ar << std::int32_t(n);
}

void WkzWriter::WriteGrids(const WkzContent& c, CArchive& ar) {
    for (const GridRecord& g : c.grids)
        g.Store(ar);
}

void WkzWriter::WriteZeros(CArchive& ar, int count) {
    for (int i = 0; i < count; ++i)
        ar << std::int32_t(0);
}
