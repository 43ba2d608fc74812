#include "document/WkzFileCommands.h"

#include "document/CGridloomDoc.h"
#include "document/WkzMessages.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialog.h"

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
    const FileDialogAnswer answer = IFileDialog::Current().Show(request);
    if (!answer.ok)
        return;
    doc.pendingMessage.clear();
    OpenFile(doc, answer.path);
}

bool WkzFileCommands::OpenFile(CGridloomDoc& doc, const std::string& path) {
    CArchive ar = CArchive::LoadFile(path);
    if (ar.Failed()) {
        doc.pendingMessage = WkzMessages::CannotOpenForReading(path);
        doc.UpdateAllViews(nullptr);
        return false;
    }
    if (!doc.Serialize(ar))
        return false;
    doc.FileDone(path);
    return true;
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
    const FileDialogAnswer answer = IFileDialog::Current().Show(request);
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
    std::string error;
    if (!AtomicFile::Write(path, std::as_bytes(std::span<const BYTE>(ar.Data())), error)) {
        doc.pendingMessage = WkzMessages::CannotOpenForWriting(path);
        doc.UpdateAllViews(nullptr);
        return false;
    }
    doc.FileDone(path);
    return true;
}
