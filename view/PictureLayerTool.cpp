#include "view/PictureLayerTool.h"

#include "document/CGridloomDoc.h"
#include "document/PictureAllowance.h"
#include "image/codecs/CancellableLoad.h"
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/FileDialog.h"
#include "platform/IClipboard.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/ObjectFrameTracking.h"
#include "view/PendingPicture.h"

namespace {

constexpr int kSelected = 2;

} // namespace

PictureLayerTool::PictureLayerTool(IToolView& view, ObjectFrameTracking& frames)
    : view_(view), frames_(frames) {}

void PictureLayerTool::LeftDown(UINT, CPoint client) {
    if (const auto index = frames_.ObjectAt(view_.ActiveLayer(), client))
        if (frames_.BeginObject(*index, client))
            return;
    view_.SetActiveLayer(-1);
    view_.Window().TakeFocus();
    frames_.BeginRubberBand(client);
}

void PictureLayerTool::Move(UINT, CPoint client) {
    frames_.TrackTo(client);
}

void PictureLayerTool::LeftUp(UINT, CPoint client) {
    const auto outcome = frames_.End(client);
    if (!outcome)
        return;
    CGridloomDoc* doc = view_.GetDocument();
    if (doc && outcome->object && *outcome->object < doc->layerObjects.size()) {
        view_.SetActiveLayer(-1);
        CLogicalRectTracker& object = doc->layerObjects[*outcome->object];
        object.SetSelectionStyle(kSelected);
        SetFrame(object, outcome->page);
    } else if (doc && !outcome->object) {
        PlaceNewPicture(outcome->page);
    }
    Finish();
}

void PictureLayerTool::Cancel() {
    if (!frames_.IsTracking())
        return;
    frames_.Cancel();
    Finish();
}

void PictureLayerTool::PlaceNewPicture(const CRect& page) {
    if (page.IsRectEmpty()) {
        view_.SetActiveLayer(-1);
        return;
    }
    Obtained obtained = ObtainPicture();
    if (!obtained.picture)
        return;
    view_.SetActiveLayer(-1);
    if (obtained.picture->GetBpp() < 24)
        obtained.picture->IncreaseBpp(24);
    // A document holding more than its total could be saved but never opened again.
    PictureAllowance left = PictureAllowance::Beside(view_.GetDocument()->layerObjects);
    if (!left.Take(*obtained.picture)) {
        AfxMessageBox(std::string(kPlaceFailed) + left.TotalPassedMessage(), MB_OK | MB_ICONERROR);
        return;
    }
    CLogicalRectTracker object;
    object.SetImage(std::move(obtained.picture), CLogicalRectTracker::kindPicture,
                    std::move(obtained.encoded));
    object.SetLayer(view_.ActiveLayer());
    object.SetSelectionStyle(kSelected);
    SetFrame(object, page);
    view_.GetDocument()->layerObjects.push_back(std::move(object));
}

PictureLayerTool::Obtained PictureLayerTool::ObtainPicture() {
    PendingPicture& pending = view_.Pending();
    if (view_.CanPaste() && !pending.IsPending()) {
        if (IMessageBox::Current().Show(kPasteQuestion, kPasteCaption, MB_YESNO) == IDYES)
            view_.OnEditPaste(); // decoded as Paste does, refusing what it refuses
        else
            pending.SetPending(false);
    }
    if (pending.IsPending())
        return {pending.Take(), nullptr};
    return LoadPictureFile();
}

PictureLayerTool::Obtained PictureLayerTool::LoadPictureFile() {
    FileDialogRequest request;
    request.open = true;
    request.filter = kFileFilter;
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return {};
    RegularFile file = RegularFile::Read(answer.path, kMaxFileBytes);
    if (!file.Ok()) {
        AfxMessageBox(std::string(kLoadFailed) + answer.path + "\n" + file.reason,
                      MB_OK | MB_ICONERROR);
        return {};
    }
    auto picture = std::make_unique<CRaster>();
    // Within what the document's pictures have left, so that a large photo reads smaller.
    const CGridloomDoc* doc = view_.GetDocument();
    const PictureAllowance left =
        PictureAllowance::Beside(doc ? doc->layerObjects : std::vector<CLogicalRectTracker>{});
    picture->Info().decode = left.Next();
    // The format comes from the file's contents, whatever its name says.
    bool decoded = false;
    {
        CancellableLoad load(*picture);
        decoded = picture->DecodeFromMemory(file.bytes, CRaster::kTypeUnknown);
    }
    if (!decoded || !picture->IsValid()) {
        AfxMessageBox(std::string(kLoadFailed) + answer.path + "\n" +
                          left.Refusal(picture->GetLastError()),
                      MB_OK | MB_ICONERROR);
        return {};
    }
    return {std::move(picture), std::make_shared<const std::vector<BYTE>>(std::move(file.bytes))};
}

void PictureLayerTool::SetFrame(CLogicalRectTracker& object, const CRect& page) const {
    object.m_rect = page;
    CRect logical = page;
    view_.PagePixelsToLogical(logical);
    object.SetLogicalRect(logical.left, logical.top, logical.right, logical.bottom);
}

void PictureLayerTool::Finish() {
    if (CGridloomDoc* doc = view_.GetDocument()) {
        doc->reRender = 1;
        doc->SetModifiedFlag();
    }
    view_.Window().Invalidate();
}
