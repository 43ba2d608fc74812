#include "document/WkzFileCommands.h"

#include "document/CGridloomDoc.h"
#include "document/WkzFieldRanges.h"
#include "document/WkzMessages.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"

#include <span>

namespace {
constexpr int kIndexVersion2 = 1;
constexpr int kIndexVersion1 = 2;
} // namespace

void WkzFileCommands::Open(CGridloomDoc& doc) {
    FileDialogRequest request;
    request.open = true;
    request.filter = kOpenFilter;
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return;
    doc.pendingMessage.clear();
    OpenFile(doc, answer.path);
}

bool WkzFileCommands::OpenFile(CGridloomDoc& doc, const std::string& path) {
    if (!Load(doc, path))
        return false;
    doc.FileDone(path);
    doc.InfoPane().Restart();
    return true;
}

bool WkzFileCommands::OpenTemplate(CGridloomDoc& doc, const std::string& path) {
    if (!Load(doc, path))
        return false;
    doc.SetPathName({});
    doc.SetTitle("Untitled");
    doc.SetModifiedFlag(false);
    return true;
}

bool WkzFileCommands::Load(CGridloomDoc& doc, const std::string& path) {
    const bool mazeOpen = doc.GridCount() > 0;
    // The file is read only as far as the document goes; what lies beyond is never loaded.
    RegularFile file = RegularFile::Open(path, WkzFieldRanges::kMaxFileBytes);
    bool loaded = false;
    if (!file.Ok()) {
        doc.pendingMessage = file.status == RegularFile::Status::cannotOpen
                                 ? WkzMessages::CannotOpenForReading(path, file.reason)
                                 : WkzMessages::CannotRead(path, file.reason);
        doc.UpdateAllViews(nullptr);
    } else {
        CArchive ar = CArchive::ForLoading(std::move(file));
        loaded = doc.Serialize(ar);
    }
    // Views show the message after their next paint, so it may still be reworded here.
    if (!loaded && !mazeOpen)
        doc.pendingMessage = WkzMessages::WithoutOpenMaze(doc.pendingMessage);
    return loaded;
}

void WkzFileCommands::Save(CGridloomDoc& doc) {
    if (doc.GridCount() == 0) {
        doc.pendingMessage = WkzMessages::NothingToSave();
        doc.UpdateAllViews(nullptr);
        return;
    }
    FileDialogRequest request;
    request.open = false;
    request.filter = kSaveFilter;
    request.defaultExtension = "wkz";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filterIndex = kIndexVersion2;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return;
    if (answer.filterIndex == kIndexVersion2) {
        doc.formatVersion = 2.0;
    } else if (answer.filterIndex == kIndexVersion1) {
        doc.formatVersion = 1.0;
    } else {
        doc.formatVersion = 0;
        doc.pendingMessage = WkzMessages::CannotSaveInFormat();
        doc.UpdateAllViews(nullptr);
        return;
    }
    SaveFile(doc, answer.path);
}

bool WkzFileCommands::SaveFile(CGridloomDoc& doc, const std::string& path) {
    CArchive ar = CArchive::ForStoring();
    if (!doc.Serialize(ar)) {
        doc.UpdateAllViews(nullptr);
        return false;
    }
    AtomicFile::Options options;
    if (AtomicFile::IsReadOnly(AtomicFile::ResolveTarget(path))) {
        // The user made the file read-only to keep it; replacing it takes a second yes.
        if (AfxMessageBox(WkzMessages::ReplaceReadOnly(path), MB_YESNO | MB_ICONWARNING) != IDYES)
            return false;
        options.replaceReadOnly = true;
    }
    const AtomicFile::Outcome written =
        AtomicFile::Replace(path, std::as_bytes(std::span<const BYTE>(ar.Data())), options);
    if (!written.ok) {
        doc.pendingMessage = WkzMessages::CannotWrite(path, written.reason);
        doc.UpdateAllViews(nullptr);
        return false;
    }
    doc.FileDone(path);
    doc.InfoPane().Restart();
    return true;
}
