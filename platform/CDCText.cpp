// Text of the device context: fonts sized through the mapping, text output, formatted text and
// measurements.
#include "platform/CDC.h"

#include "platform/FormattedText.h"
#include "platform/TextEngine.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The resolution of the screen that text is typed on.
constexpr int kScreenDpi = 96;

} // namespace

TextEngine& CDC::Text() const {
    if (!text_)
        text_ = std::make_unique<TextEngine>();
    return *text_;
}

DeviceFont CDC::Font() const {
    return FontUnder(state_.mapping, backEnd_ ? backEnd_->Caps().dpiY : 96,
                     backEnd_ ? backEnd_->StockFontScale() : 1.0);
}

DeviceFont CDC::FontUnder(const CoordinateMapping& mapping, int dpiY, double stockScale) const {
    const LOGFONT& lf = state_.fontLog;
    DeviceFont f;
    f.family = TextEngine::MapFace(lf.FaceName());
    const LONG h = lf.lfHeight == INT32_MIN ? INT32_MAX : std::abs(lf.lfHeight);
    // Stock fonts are sized in device pixels whatever the mapping, as a device's own fonts are.
    const bool stock = state_.font && state_.font->IsStock();
    const double device = stock ? h * stockScale : mapping.SizeToDevice({0, h}).cy;
    if (lf.lfHeight < 0)
        f.emPixels = device;
    else if (lf.lfHeight > 0)
        f.emPixels = Text().EmForCellHeight(f.family, device);
    else
        f.emPixels = 12.0 * dpiY / 72.0;
    f.emPixels = std::clamp(f.emPixels, 0.5, 20000.0);
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeOut = lf.lfStrikeOut != 0;
    return f;
}

double CDC::Escapement() const {
    return state_.fontLog.lfEscapement / 10.0 * M_PI / 180.0;
}

bool CDC::TextOut(int x, int y, const std::string& text) {
    if (!backEnd_)
        return false;
    const bool updateCp = (state_.textAlign & TA_UPDATECP) != 0;
    const CPoint ref = updateCp ? state_.position : CPoint(x, y);
    const auto layout = Text().Layout(text, Font());
    const TextLayout::Box ext = layout->Extent();
    TextPlacement where;
    const CPoint d = Dev(ref.x, ref.y);
    where.x = d.x;
    where.y = d.y;
    where.angle = Escapement();
    const UINT horizontal = state_.textAlign & TA_CENTER;
    where.dx = horizontal == TA_CENTER ? -ext.width / 2 : horizontal == TA_RIGHT ? -ext.width : 0;
    const UINT vertical = state_.textAlign & TA_BASELINE;
    where.dy = vertical == TA_BASELINE ? -layout->Baseline()
               : vertical == TA_BOTTOM ? -ext.height
                                       : 0;
    where.color = state_.textColor;
    where.background = Bk();
    where.requested = &state_.fontLog;
    backEnd_->DrawText(*layout, where);
    if (updateCp) {
        const CSize advance =
            state_.mapping.SizeToLogical({static_cast<LONG>(std::lround(ext.width)), 0});
        state_.position.x += state_.mapping.IsXFlipped() ? -advance.cx : advance.cx;
    }
    return true;
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) {
    return DrawFormatted(text, rect, format, nullptr);
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format,
                  const CoordinateMapping& screen) {
    return DrawFormatted(text, rect, format, &screen);
}

int CDC::DrawFormatted(const std::string& text, RECT* rect, UINT format,
                       const CoordinateMapping* screen) {
    if (!backEnd_ || !rect)
        return 0;
    const CPoint c0 = Dev(rect->left, rect->top), c1 = Dev(rect->right, rect->bottom);
    CRect box(c0, c1);
    box.NormalizeRect();
    std::optional<FormattedText::Screen> onScreen;
    if (screen) {
        CRect shown(screen->ToDevice({rect->left, rect->top}),
                    screen->ToDevice({rect->right, rect->bottom}));
        shown.NormalizeRect();
        onScreen = FormattedText::Screen{FontUnder(*screen, kScreenDpi, 1.0), shown};
    }
    const FormattedText formatted(Text(), Font(), text, box, format,
                                  onScreen ? &*onScreen : nullptr);
    const LONG height = static_cast<LONG>(std::lround(formatted.Height()));
    if (format & DT_CALCRECT) {
        // Grow or shrink the rectangle to the text, keeping its left and top.
        const double w = formatted.Width(), h = formatted.Height();
        const CPoint far(static_cast<LONG>(std::lround(c0.x + (c1.x >= c0.x ? w : -w))),
                         static_cast<LONG>(std::lround(c0.y + (c1.y >= c0.y ? h : -h))));
        const CPoint logical = state_.mapping.ToLogical(far);
        rect->right = logical.x;
        rect->bottom = logical.y;
        return state_.mapping.SizeToLogical({0, height}).cy;
    }
    TextPlacement where;
    where.x = formatted.Left();
    where.y = formatted.Top();
    where.color = state_.textColor;
    where.background = Bk();
    where.requested = &state_.fontLog;
    if (!(format & DT_NOCLIP)) {
        CRect clip;
        clip.IntersectRect(EffectiveClip(), box);
        backEnd_->SetClip(clip);
    }
    backEnd_->DrawText(formatted.Layout(), where);
    ApplyClip();
    return state_.mapping.SizeToLogical({0, height}).cy;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const auto layout = Text().Layout(text, Font());
    const TextLayout::Box ext = layout->Extent();
    return state_.mapping.SizeToLogical(
        {static_cast<LONG>(std::lround(ext.width)), static_cast<LONG>(std::lround(ext.height))});
}

bool CDC::GetTextMetrics(TEXTMETRIC* tm) const {
    if (!tm)
        return false;
    const DeviceFont font = Font();
    const DeviceFontMetrics m = Text().Metrics(font);
    auto logicalY = [&](double v) {
        return state_.mapping.SizeToLogical({0, static_cast<LONG>(std::lround(v))}).cy;
    };
    auto logicalX = [&](double v) {
        return state_.mapping.SizeToLogical({static_cast<LONG>(std::lround(v)), 0}).cx;
    };
    *tm = TEXTMETRIC{};
    tm->tmAscent = logicalY(m.ascent);
    tm->tmDescent = logicalY(m.descent);
    tm->tmHeight = logicalY(m.ascent + m.descent);
    tm->tmInternalLeading = std::max<LONG>(0, logicalY(m.ascent + m.descent - font.emPixels));
    tm->tmAveCharWidth = logicalX(m.averageWidth);
    tm->tmMaxCharWidth = logicalX(m.maxWidth);
    tm->tmWeight = font.weight <= 0 ? FW_NORMAL : font.weight;
    tm->tmItalic = font.italic;
    tm->tmUnderlined = font.underline;
    tm->tmStruckOut = font.strikeOut;
    tm->tmPitchAndFamily = state_.fontLog.lfPitchAndFamily;
    tm->tmCharSet = state_.fontLog.lfCharSet;
    return true;
}
