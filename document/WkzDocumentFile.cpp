#include "document/WkzDocumentFile.h"

#include "document/CGridloomDoc.h"
#include "document/WkzMessages.h"
#include "document/WkzWriter.h"
#include "image/core/BusyStop.h"
#include "platform/MessageBox.h"

WkzContent WkzDocumentFile::Capture(const CGridloomDoc& doc) {
    return doc.Content();
}

bool WkzDocumentFile::CanStore(CGridloomDoc& doc) {
    // Without grids the file would not hold the records its template promises.
    if (doc.GridCount() > 0)
        return true;
    doc.pendingMessage = WkzMessages::NothingToSave();
    return false;
}

bool WkzDocumentFile::Store(CGridloomDoc& doc, CArchive& ar) {
    if (!CanStore(doc))
        return false;
    std::string error;
    if (!WkzWriter::Write(Capture(doc), ar, error)) {
        doc.pendingMessage = error;
        return false;
    }
    return true;
}

bool WkzDocumentFile::Load(CGridloomDoc& doc, CArchive& ar) {
    // Pictures may take a while: the busy cursor shows and Escape stops the reading.
    BusyStop stop;
    DecodeOptions options;
    options.stop = &stop;
    return Finish(doc, WkzReader::Read(ar, PictureAllowance(options)));
}

bool WkzDocumentFile::Finish(CGridloomDoc& doc, WkzReader::Result result) {
    if (result.status == WkzReader::Status::upgradeMarker) {
        AfxMessageBox(result.message, MB_OKCANCEL);
        return false;
    }
    if (result.status == WkzReader::Status::cancelled)
        return false; // stopped by the user, who needs no message; the document stays
    if (!result.Ok()) {
        doc.pendingMessage = result.message;
        doc.UpdateAllViews(nullptr);
        return false;
    }
    return Commit(doc, result.content);
}

bool WkzDocumentFile::Commit(CGridloomDoc& doc, WkzContent& content) {
    const std::string refused = doc.Adopt(std::move(content));
    if (refused.empty())
        return true;
    doc.pendingMessage = WkzMessages::Damaged(refused);
    doc.UpdateAllViews(nullptr);
    return false;
}
