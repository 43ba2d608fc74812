#include "document/MazeSettingsProfile.h"

#include "document/WkzFieldRanges.h"
#include "platform/CProfile.h"

#include <algorithm>
#include <array>

namespace {

constexpr const char* kSize = "size";
constexpr const char* kSettings = "Settings";
constexpr const char* kProb = "PROB";

constexpr std::array<const char*, CompassWeights::kCount> kCompassKeys{
    "CENTER", "N", "NE", "E", "SE", "S", "SW", "W", "NW"};

// The whole-number settings of one section, listed once so loading and saving name the same keys.
struct IntKey {
    const char* name;
    int MazeSettings::*member;
};

constexpr IntKey kSizeKeys[] = {
    {"type", &MazeSettings::kind},
    {"celly", &MazeSettings::rows},
    {"cellx", &MazeSettings::columns},
    {"y", &MazeSettings::pageHeight},
    {"x", &MazeSettings::pageWidth},
    {"scale", &MazeSettings::scale},
    {"x_offset", &MazeSettings::xOffset},
    {"y_offset", &MazeSettings::yOffset},
    {"Wrap_Horizontally", &MazeSettings::wrapHorizontally},
    {"Wrap_Vertically", &MazeSettings::wrapVertically},
    {"ErasedVisible", &MazeSettings::erasedVisible},
    {"Fittopage", &MazeSettings::fitToPage},
    {"DeleteEnds", &MazeSettings::deleteEnds},
    {"animate", &MazeSettings::animate},
    {"penwidth", &MazeSettings::penWidth},
    {"Tiled", &MazeSettings::tiled},
};

constexpr IntKey kPrintingKeys[] = {
    {"PrinterDebug", &MazeSettings::printerDebug},
    {"AutoCenter", &MazeSettings::autoCenter},
};

template <std::size_t N>
void LoadInts(const CProfile& p, const char* section, const IntKey (&keys)[N], MazeSettings& s) {
    for (const IntKey& k : keys)
        s.*k.member = p.GetProfileInt(section, k.name, s.*k.member);
}

template <std::size_t N>
void SaveInts(CProfile& p, const char* section, const IntKey (&keys)[N], const MazeSettings& s) {
    for (const IntKey& k : keys)
        p.WriteProfileInt(section, k.name, s.*k.member);
}

} // namespace

MazeSettings MazeSettingsProfile::Load(const CProfile& p) {
    MazeSettings s;
    s.tilerId = p.GetProfileString(kSize, "TilerID", "");
    LoadInts(p, kSize, kSizeKeys, s);
    for (int i = 0; i < CompassWeights::kCount; ++i)
        s.compass.values[i] = p.GetProfileInt(kProb, kCompassKeys[i], s.compass.values[i]);
    s.compass.relative = p.GetProfileInt(kProb, "RELATIVE", s.compass.relative);
    LoadInts(p, kSettings, kPrintingKeys, s);
    // A page the pages would refuse comes in at the end of its range: a settings file written
    // before the range was checked must not hand every new maze a page of two million inches.
    // A margin below 0 prints as 0.
    s.pageWidth = std::min(s.pageWidth, WkzFieldRanges::kMaxPageSide);
    s.pageHeight = std::min(s.pageHeight, WkzFieldRanges::kMaxPageSide);
    s.xOffset = std::clamp(s.xOffset, 0, WkzFieldRanges::kMaxOffset);
    s.yOffset = std::clamp(s.yOffset, 0, WkzFieldRanges::kMaxOffset);
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
    SaveInts(p, kSettings, kPrintingKeys, s);
}

void MazeSettingsProfile::SaveCompass(CProfile& p, const CompassWeights& compass) {
    CProfile::Batch batch(p);
    for (int i = 0; i < CompassWeights::kCount; ++i)
        p.WriteProfileInt(kProb, kCompassKeys[i], compass.values[i]);
    p.WriteProfileInt(kProb, "RELATIVE", compass.relative);
}

void MazeSettingsProfile::SaveSize(CProfile& p, const MazeSettings& s, Circular circular) {
    CProfile::Batch batch(p);
    SaveInts(p, kSize, kSizeKeys, s);
    p.WriteProfileString(kSize, "TilerID", s.tilerId);
    p.WriteProfileInt(kSize, "CircularCells", circular.cells);
    p.WriteProfileInt(kSize, "CircularPercentRad", circular.percent);
}
