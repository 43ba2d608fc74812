// The view's text box: opening it over a text object, keeping it there while the page
// scrolls, and the end of editing.
#include "view/CGridloomView.h"

#include "document/CGridloomDoc.h"
#include "res/CommandIds.h"
#include "view/LayerObjectOrder.h"

namespace {

// The box stands this far out of the object on every side.
constexpr int kTextBoxMargin = 3;

} // namespace

void CGridloomView::SetTextBox(ITextBox* box) {
    textBox_ = box ? box : &headlessTextBox_;
}

void CGridloomView::OpenTextBox(const CRect& pagePixels, const CLogicalRectTracker& object) {
    textBoxPage_ = pagePixels;
    TextBoxStyle style;
    style.colour = object.GetTextColor();
    if (const auto& font = object.GetFont()) {
        style.font = font->log;
        // The height the page is drawn with on the screen, rounded as the drawing rounds it.
        style.font.lfHeight =
            -CLogicalRectTracker::ScreenMapping()
                 .SizeToDevice({0, CLogicalRectTracker::LogicalTextHeight(font->choose.iPointSize)})
                 .cy;
        style.colour = font->choose.rgbColors;
        style.twips = font->choose.iPointSize * 2;
    }
    PlaceTextBox();
    textBox_->SetStyle(style);
    textBox_->SetText(object.GetText());
    textBox_->ShowAndFocus();
}

void CGridloomView::PlaceTextBox() {
    if (!textBoxPage_)
        return;
    CRect client = *textBoxPage_;
    const CPoint scroll = window_->ScrollPosition();
    client.OffsetRect(-scroll.x, -scroll.y);
    client.InflateRect(kTextBoxMargin, kTextBoxMargin);
    textBox_->Place(client);
}

void CGridloomView::EndTextEditing() {
    const bool editing = textBoxPage_.has_value();
    textBoxPage_.reset();
    if (textBox_->IsShown())
        textBox_->Hide();
    CGridloomDoc* doc = GetDocument();
    // Without an open box the box's text belongs to no object: a stored selection state
    // must not let it overwrite a text.
    if (!editing || !doc)
        return;
    const std::string text = textBox_->Text();
    for (CLogicalRectTracker& object : doc->layerObjects) {
        if (object.GetSelectionStyle() != LayerObjectOrder::kSelected || !object.IsText())
            continue;
        object.SetText(text);
        object.SetSelectionStyle(LayerObjectOrder::kOnLayer);
        doc->reRender = 1;
    }
    doc->UpdateAllViews(nullptr);
}

void CGridloomView::DiscardTextEditing() {
    textBoxPage_.reset();
    if (textBox_->IsShown())
        textBox_->Hide();
}

void CGridloomView::BeforeCommand(UINT command) {
    switch (command) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_SAVE_IMAGE_FILE:
    case ID_SAVE_EMF:
    case ID_EDIT_COPY:
        EndTextEditing();
        break;
    default:
        break;
    }
}
