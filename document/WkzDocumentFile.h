#pragma once
#include "document/WkzContent.h"
#include "document/WkzReader.h"
#include "platform/CArchive.h"

class CGridloomDoc;

// Moves a maze document to and from its file. Saving takes the document's content and
// writes it; loading reads the whole file into a staging content first and hands it to the
// document only when every part of it is good, so a bad file changes nothing. Failures leave
// their message in the document's pending message (shown at the next drawing), except the
// upgrade notice, which is shown at once.
class WkzDocumentFile {
public:
    static WkzContent Capture(const CGridloomDoc& doc);

    // Writes in the layout the document's format version picks; false, with the pending
    // message set and nothing written, when that is not possible.
    static bool Store(CGridloomDoc& doc, CArchive& ar);

    // Reads the version and the layout it picks. True when the document took the file.
    static bool Load(CGridloomDoc& doc, CArchive& ar);

private:
    static bool CanStore(CGridloomDoc& doc);
    static bool Finish(CGridloomDoc& doc, WkzReader::Result result);
    static bool Commit(CGridloomDoc& doc, WkzContent& content);
};
