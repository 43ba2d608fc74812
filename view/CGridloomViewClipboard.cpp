// The view's Copy and Paste: the drawing out as a picture, text into the text box and
// pictures into the working image that the picture tool places.
#include "view/CGridloomView.h"

#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "platform/CWaitCursor.h"
#include "platform/MessageBox.h"
#include "res/CommandIds.h"
#include "view/DrawingCopy.h"
#include "view/PicturePaste.h"

void CGridloomView::MapClipboardCommands() {
    OnCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    CCmdTarget::OnUpdate(ID_EDIT_COPY, [this](CCmdUI& ui) { ui.Enable(HasLevels()); });
    OnCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    CCmdTarget::OnUpdate(ID_EDIT_PASTE,
                         [this](CCmdUI& ui) { ui.Enable(HasLevels() && CanPaste()); });
}

bool CGridloomView::CanPaste() const {
    switch (activeLayer_) {
    case kLayerBackground:
    case kLayerForeground:
        return clipboard_->OffersPicture();
    case kLayerText:
        return clipboard_->OffersText();
    default:
        return false;
    }
}

bool CGridloomView::OnEditCopy() {
    if (!HasLevels())
        return false;
    CWaitCursor wait;
    EndTextEditing();
    CRaster picture;
    std::vector<ClipboardPicture> encoded;
    std::string error = DrawingCopy::Render(*this, picture);
    if (error.empty())
        error = DrawingCopy::Encode(picture, encoded);
    if (error.empty() && !clipboard_->WriteEncodedPictures(encoded))
        error = "The picture could not be placed on the Clipboard.";
    if (!error.empty()) {
        AfxMessageBox(error, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool CGridloomView::OnEditPaste() {
    if (!HasLevels())
        return false;
    if (activeLayer_ == kLayerText) {
        // Replaces the whole text of the box, as the command always has; the box's own
        // Ctrl+V inserts at the caret instead.
        const auto text = clipboard_->ReadText();
        textBox_->SetText(text.value_or(std::string()));
        return text.has_value();
    }
    if (activeLayer_ == kLayerBackground || activeLayer_ == kLayerForeground)
        return PastePicture();
    return false;
}

bool CGridloomView::PastePicture() {
    const auto offered = clipboard_->ReadEncodedPicture();
    // A clipboard that hands out only decoded pictures.
    if (!offered && pending_.PasteFrom(*clipboard_))
        return true;
    // Another program may claim a picture and hand over nothing: no box for that.
    if (!offered || offered->bytes.empty()) {
        window_->ShowStatus(kNothingToPaste);
        return false;
    }
    CWaitCursor wait;
    CRaster picture;
    const std::string error = PicturePaste::Decode(*offered, picture);
    if (!error.empty()) {
        AfxMessageBox(error, MB_OK | MB_ICONERROR);
        return false;
    }
    pending_.Keep(picture);
    return true;
}
