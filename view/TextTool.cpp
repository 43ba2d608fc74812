#include "view/TextTool.h"

#include "document/CGridloomDoc.h"
#include "platform/CProfile.h"
#include "platform/IClipboard.h"
#include "view/ITextBox.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/LayerObjectOrder.h"
#include "view/ObjectFrameTracking.h"

#include <span>
#include <vector>

namespace {

constexpr int kScreenDpi = 96;

// The text box's height for a point size in tenths, at the screen's pixels per inch.
LONG PixelHeight(int tenths) {
    return -MulDiv(tenths, kScreenDpi, 720);
}

} // namespace

TextTool::TextTool(IToolView& view, ObjectFrameTracking& frames) : view_(view), frames_(frames) {}

CGridloomDoc* TextTool::Doc() const {
    return view_.GetDocument();
}

// ---- profile ------------------------------------------------------------------------------

FontDialogRequest TextTool::NewObjectRequest(const CProfile& profile) {
    FontDialogRequest request;
    std::vector<BYTE> cf, lf;
    // Records of another length were not written by the dialog: neither is used then.
    if (!profile.GetProfileBinary(kSection, kChooseFontEntry, cf) ||
        !profile.GetProfileBinary(kSection, kLogFontEntry, lf) || cf.size() != CHOOSEFONT::kBytes ||
        lf.size() != LOGFONT::kBytes)
        return request;
    request.colour =
        CHOOSEFONT::FromBytes(std::span<const BYTE, CHOOSEFONT::kBytes>(cf.data(), cf.size()))
            .rgbColors;
    request.initial =
        LOGFONT::FromBytes(std::span<const BYTE, LOGFONT::kBytes>(lf.data(), lf.size()));
    return request;
}

void TextTool::StoreFont(CProfile& profile, const CHOOSEFONT& choose, const LOGFONT& log) {
    const auto cf = choose.ToBytes();
    const auto lf = log.ToBytes();
    CProfile::Batch batch(profile);
    profile.WriteProfileBinary(kSection, kChooseFontEntry, {cf.begin(), cf.end()});
    profile.WriteProfileBinary(kSection, kLogFontEntry, {lf.begin(), lf.end()});
}

// ---- presses ------------------------------------------------------------------------------

std::optional<std::size_t> TextTool::ObjectAt(CPoint client) const {
    const CGridloomDoc* doc = Doc();
    if (!doc)
        return std::nullopt;
    const CPoint scroll = view_.Window().ScrollPosition();
    const auto& objects = doc->layerObjects;
    for (std::size_t i = objects.size(); i-- > 0;) {
        const CLogicalRectTracker& o = objects[i];
        if (o.GetLayer() != view_.ActiveLayer() || !o.IsText() || !o.GetFont() ||
            o.HitTestLogical(client.x, client.y, scroll.x, scroll.y) < 0)
            continue;
        return i;
    }
    return std::nullopt;
}

void TextTool::LeftDown(UINT, CPoint client) {
    CGridloomDoc* doc = Doc();
    if (!doc)
        return;
    pending_ = NewObjectRequest(doc->Profile());
    // The press has taken the focus from the text box, and its editing has ended.
    view_.Window().TakeFocus();
    view_.EndTextEditing();
    if (const auto index = ObjectAt(client); index && frames_.BeginObject(*index, client))
        return;
    view_.SetActiveLayer(-1);
    frames_.BeginRubberBand(client);
}

void TextTool::Move(UINT, CPoint client) {
    frames_.TrackTo(client);
}

void TextTool::Cancel() {
    frames_.Cancel();
}

void TextTool::LeftUp(UINT, CPoint client) {
    CGridloomDoc* doc = Doc();
    const auto outcome = frames_.End(client);
    if (!doc || !outcome)
        return;
    if (outcome->object && *outcome->object < doc->layerObjects.size()) {
        doc->layerObjects[*outcome->object].m_rect = outcome->page;
        FinishMove(*outcome->object);
        EndOfPress();
        return;
    }
    const CPoint scroll = view_.Window().ScrollPosition();
    CRect band = outcome->page;
    band.OffsetRect(-scroll.x, -scroll.y);
    if (band.IsRectEmpty()) {
        view_.SetActiveLayer(-1);
        view_.Window().TakeFocus();
        EndOfPress();
        return;
    }
    FinishRubberBand(band);
}

void TextTool::FinishMove(std::size_t index) {
    CGridloomDoc* doc = Doc();
    view_.SetActiveLayer(-1);
    CLogicalRectTracker& o = doc->layerObjects[index];
    o.SetSelectionStyle(LayerObjectOrder::kSelected);
    const CPoint scroll = view_.Window().ScrollPosition();
    CRect client = o.m_rect;
    client.OffsetRect(-scroll.x, -scroll.y);
    const CRect logical = ClientToLogical(client);
    o.SetLogicalRect(logical.left, logical.top, logical.right, logical.bottom);
    view_.OpenTextBox(o.m_rect, o);
}

void TextTool::FinishRubberBand(const CRect& client) {
    CGridloomDoc* doc = Doc();
    const FontDialogAnswer answer = IFontDialog::Ask(pending_);
    // Cancelled: nothing was made and nothing changed.
    if (!answer.ok)
        return;
    StoreFont(doc->Profile(), answer.choose, answer.log);
    CLogicalRectTracker o;
    o.SetImage(nullptr, CLogicalRectTracker::kindTextTransparent);
    o.SetLayer(view_.ActiveLayer());
    LOGFONT log = answer.log;
    log.lfHeight = PixelHeight(answer.choose.iPointSize);
    o.SetFont(answer.choose, log);
    o.SetTextColor(answer.choose.rgbColors);
    const CRect logical = ClientToLogical(client);
    o.SetLogicalRect(logical.left, logical.top, logical.right, logical.bottom);
    const CPoint scroll = view_.Window().ScrollPosition();
    o.m_rect = client;
    o.m_rect.OffsetRect(scroll.x, scroll.y);
    doc->layerObjects.push_back(std::move(o));
    view_.SetActiveLayer(-1);
    CLogicalRectTracker& added = doc->layerObjects.back();
    added.SetSelectionStyle(LayerObjectOrder::kSelected);
    view_.OpenTextBox(added.m_rect, added);
    // A new object starts with the clipboard's text, which it takes when editing ends.
    if (const auto text = view_.Clipboard().ReadText())
        view_.TextBox().SetText(*text);
    EndOfPress();
}

void TextTool::RightDown(UINT, CPoint client) {
    CGridloomDoc* doc = Doc();
    if (!doc)
        return;
    view_.Window().TakeFocus();
    view_.EndTextEditing();
    if (const auto index = ObjectAt(client)) {
        view_.SetActiveLayer(-1);
        CLogicalRectTracker::Font& font = *doc->layerObjects[*index].GetFont();
        font.log.lfHeight = PixelHeight(font.choose.iPointSize);
        FontDialogRequest request;
        request.initial = font.log;
        request.colour = doc->layerObjects[*index].GetTextColor();
        const FontDialogAnswer answer = IFontDialog::Ask(request);
        if (!answer.ok)
            return;
        // The dialog may have changed the array's owner of the font: look it up again.
        CLogicalRectTracker& o = doc->layerObjects[*index];
        LOGFONT log = answer.log;
        log.lfHeight = PixelHeight(answer.choose.iPointSize);
        o.SetFont(answer.choose, log);
        o.SetTextColor(answer.choose.rgbColors);
        view_.SetActiveLayer(-1);
        view_.Window().TakeFocus();
        // Drawn afresh at once, so that the new look shows.
        doc->reRender = 1;
    }
    EndOfPress();
}

void TextTool::EndOfPress() {
    CGridloomDoc* doc = Doc();
    view_.Window().Invalidate();
    doc->SetModifiedFlag();
}

CRect TextTool::ClientToLogical(const CRect& client) const {
    const CPoint scroll = view_.Window().ScrollPosition();
    CRect r = client;
    r.OffsetRect(scroll.x, scroll.y);
    view_.PagePixelsToLogical(r);
    return r;
}
