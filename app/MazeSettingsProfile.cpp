#include "app/MazeSettingsProfile.h"

#include "platform/CProfile.h"

#include <array>

namespace {

constexpr const char* kSize = "size";
constexpr const char* kSettings = "Settings";
constexpr const char* kProb = "PROB";

constexpr std::array<const char*, CompassWeights::kCount> kCompassKeys{
    "CENTER", "N", "NE", "E", "SE", "S", "SW", "W", "NW"};

} // namespace

MazeSettings MazeSettingsProfile::Load(const CProfile& p) {
    MazeSettings s;
    s.tilerId = p.GetProfileString(kSize, "TilerID", "");
    s.kind = p.GetProfileInt(kSize, "type", s.kind);
    s.rows = p.GetProfileInt(kSize, "celly", s.rows);
    s.columns = p.GetProfileInt(kSize, "cellx", s.columns);
    s.pageHeight = p.GetProfileInt(kSize, "y", s.pageHeight);
    s.pageWidth = p.GetProfileInt(kSize, "x", s.pageWidth);
    s.scale = p.GetProfileInt(kSize, "scale", s.scale);
    s.xOffset = p.GetProfileInt(kSize, "x_offset", s.xOffset);
    s.yOffset = p.GetProfileInt(kSize, "y_offset", s.yOffset);
    s.wrapHorizontally = p.GetProfileInt(kSize, "Wrap_Horizontally", s.wrapHorizontally);
    s.wrapVertically = p.GetProfileInt(kSize, "Wrap_Vertically", s.wrapVertically);
    for (int i = 0; i < CompassWeights::kCount; ++i)
        s.compass.values[i] = p.GetProfileInt(kProb, kCompassKeys[i], s.compass.values[i]);
    s.compass.relative = p.GetProfileInt(kProb, "RELATIVE", s.compass.relative);
    s.erasedVisible = p.GetProfileInt(kSize, "ErasedVisible", s.erasedVisible);
    s.fitToPage = p.GetProfileInt(kSize, "Fittopage", s.fitToPage);
    s.deleteEnds = p.GetProfileInt(kSize, "DeleteEnds", s.deleteEnds);
    s.animate = p.GetProfileInt(kSize, "animate", s.animate);
    s.penWidth = p.GetProfileInt(kSize, "penwidth", s.penWidth);
    s.tiled = p.GetProfileInt(kSize, "Tiled", s.tiled);
    s.printerDebug = p.GetProfileInt(kSettings, "PrinterDebug", s.printerDebug);
    s.autoCenter = p.GetProfileInt(kSettings, "AutoCenter", s.autoCenter);
    return s;
}

MazeSettingsProfile::Circular MazeSettingsProfile::LoadCircular(const CProfile& p) {
    Circular c;
    c.cells = p.GetProfileInt(kSize, "CircularCells", c.cells);
    c.percent = p.GetProfileInt(kSize, "CircularPercentRad", c.percent);
    return c;
}

void MazeSettingsProfile::SavePrinting(CProfile& p, const MazeSettings& s) {
    CProfile::Batch batch(p);
    p.WriteProfileInt(kSettings, "PrinterDebug", s.printerDebug);
    p.WriteProfileInt(kSettings, "AutoCenter", s.autoCenter);
}

void MazeSettingsProfile::SaveCompass(CProfile& p, const CompassWeights& compass) {
    CProfile::Batch batch(p);
    for (int i = 0; i < CompassWeights::kCount; ++i)
        p.WriteProfileInt(kProb, kCompassKeys[i], compass.values[i]);
    p.WriteProfileInt(kProb, "RELATIVE", compass.relative);
}

void MazeSettingsProfile::SaveSize(CProfile& p, const MazeSettings& s, Circular circular) {
    CProfile::Batch batch(p);
    p.WriteProfileInt(kSize, "animate", s.animate);
    p.WriteProfileInt(kSize, "penwidth", s.penWidth);
    p.WriteProfileInt(kSize, "ErasedVisible", s.erasedVisible);
    p.WriteProfileInt(kSize, "Fittopage", s.fitToPage);
    p.WriteProfileInt(kSize, "cellx", s.columns);
    p.WriteProfileInt(kSize, "celly", s.rows);
    p.WriteProfileInt(kSize, "x_offset", s.xOffset);
    p.WriteProfileInt(kSize, "y_offset", s.yOffset);
    p.WriteProfileInt(kSize, "x", s.pageWidth);
    p.WriteProfileInt(kSize, "y", s.pageHeight);
    p.WriteProfileInt(kSize, "Wrap_Horizontally", s.wrapHorizontally);
    p.WriteProfileInt(kSize, "Wrap_Vertically", s.wrapVertically);
    p.WriteProfileInt(kSize, "scale", s.scale);
    p.WriteProfileInt(kSize, "type", s.kind);
    p.WriteProfileInt(kSize, "Tiled", s.tiled);
    p.WriteProfileString(kSize, "TilerID", s.tilerId);
    p.WriteProfileInt(kSize, "CircularCells", circular.cells);
    p.WriteProfileInt(kSize, "CircularPercentRad", circular.percent);
    p.WriteProfileInt(kSize, "DeleteEnds", s.deleteEnds);
}
