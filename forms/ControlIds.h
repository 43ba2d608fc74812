#pragma once

// The ids of the settings sheet's controls. The window builds its controls with them and the
// toolkit-free rules name the field a refusal points at with them. Ids repeat between pages
// (each page finds its controls among its own), so each page has its own namespace.
namespace ControlIds {

namespace Style {
constexpr int kBox = 1032;
constexpr int kTriangular = 1033;
constexpr int kOctagonBox = 1034;
constexpr int kHex = 1035;
constexpr int kPreview = 1036;
constexpr int kTrapezoidBox = 1037;
constexpr int kQuadTriangle = 1038;
constexpr int kCircular = 1039;
constexpr int kTiled = 1040;
constexpr int kTileSetList = 1075;
constexpr int kWrapHorizontally = 1096;
constexpr int kWrapVertically = 1097;
} // namespace Style

namespace Dimensions {
constexpr int kCellsWide = 1006;
constexpr int kCellsLong = 1007;
constexpr int kScale = 1008;
constexpr int kInnerCells = 1009;
constexpr int kInnerPercent = 1010;
constexpr int kPlainBox = 1041;
constexpr int kCircularBox = 1042;
constexpr int kInnerCellsLabel = 1043;
constexpr int kInnerPercentLabel = 1044;
constexpr int kCellsLongLabel = 1045;
constexpr int kCellsWideLabel = 1046;
constexpr int kScaleLabel = 1047;
constexpr int kFitToPage = 1048;
} // namespace Dimensions

namespace Page {
constexpr int kWidth = 1004;
constexpr int kHeight = 1005;
constexpr int kLeftMargin = 1006;
constexpr int kTopMargin = 1007;
constexpr int kAutoCenter = 1079;
constexpr int kPrinterDebug = 1080;
} // namespace Page

namespace Advanced {
constexpr int kSeed = 1003;
// The pen-width radios and the X/1000 edit under them.
constexpr int kThinnest = 1024;
constexpr int kHundredth = 1025;
constexpr int kThousandths = 1026;
constexpr int kPenWidth = 1027;
constexpr int kErasedVisible = 1050;
constexpr int kInfoWindow = 1051;
constexpr int kAnimate = 1052;
} // namespace Advanced

namespace Growth {
constexpr int kN = 1051;
constexpr int kNW = 1052;
constexpr int kNE = 1053;
constexpr int kW = 1054;
constexpr int kE = 1055;
constexpr int kSW = 1056;
constexpr int kSE = 1057;
constexpr int kS = 1058;
constexpr int kCentre = 1059;
constexpr int kRelative = 1060;
} // namespace Growth

// The colour page (built with the document, not shown in the sheet).
namespace Colour {
constexpr int kRestoreDefaults = 1094;
constexpr int kStart = 1095;
constexpr int kStop = 1096;
constexpr int kHiddenStart = 1097;
constexpr int kHiddenStop = 1098;
constexpr int kWallPen = 1099;
constexpr int kBlackened = 1100;
constexpr int kErased = 1101;
constexpr int kSolution = 1102;
} // namespace Colour

} // namespace ControlIds
