#pragma once
#include "document/PictureAllowance.h"
#include "document/WkzContent.h"
#include "platform/CArchive.h"

#include <cstdint>
#include <string>

// Reads a maze document file into a staging content. Everything is checked before it is
// used: counts against the bytes left and the cell cap, grid records against the template
// kind they belong to. The result says whether the content is whole; a refused file leaves
// a message for the user and nothing to commit.
class WkzReader {
public:
    enum class Status {
        ok,
        versionTooNew, // no reader for this version
        badMagic,      // not a document: no version it ever had, or version 2 without its magic
        upgradeMarker, // written by a newer program; the message is shown at once
        unknownKind,   // a template kind this program does not build
        damaged,       // short, inconsistent or hostile
        cancelled,     // the user stopped it; nothing to say
    };
    struct Result {
        Status status = Status::ok;
        std::string message;
        WkzContent content;
        bool Ok() const { return status == Status::ok; }
    };

    // Bytes a file may carry behind the document before it counts as damaged.
    static constexpr std::uint64_t kMaxTrailingBytes = 4096;

    // Reads the version and dispatches: below 2.0 version 1, below 3.0 version 2. The
    // pictures of layer objects are held to `pictures`.
    static Result Read(CArchive& ar, PictureAllowance pictures = PictureAllowance{});
    // The two layouts, starting after the version number (stored in `version`).
    static Result ReadV1(CArchive& ar, double version);
    static Result ReadV2(CArchive& ar, double version,
                         PictureAllowance pictures = PictureAllowance{});

private:
    static void ReadSettings(CArchive& ar, WkzContent& c);
    static void ReadRingCounts(CArchive& ar, WkzContent& c);
    // False (archive failed) when a record does not fit the kind's grids.
    static void ReadGrids(CArchive& ar, WkzContent& c);
    static void ReadObjects(CArchive& ar, WkzContent& c, PictureAllowance& pictures);
    static void ReadSeedPoints(CArchive& ar, WkzContent& c);
    static void Skip(CArchive& ar, int ints);
    static Result Finish(CArchive& ar, Result r);
    // True (with the message set) when the kind read has no template.
    static bool RefuseUnknownKind(const CArchive& ar, Result& r);
};
