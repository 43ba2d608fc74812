#include "document/WkzReader.h"

#include "document/WkzFieldRanges.h"
#include "document/WkzMessages.h"
#include "image/core/CRaster.h"
#include "maze/Object.h"
#include "maze/TemplateTables.h"

#include <cmath>

namespace {

constexpr const char* kMagic = "WKZ";
constexpr double kFirstVersion = 1.0;
// The smallest layer-object record: fields 1 to 12 with empty texts.
constexpr std::uint64_t kMinObjectRecord = 8 + 1 + 5 + 4 + 4 + 16 + 4 + 4 + 16 + 8 + 4 + 4 + 1;

// Side count and grid type that grid `index` of a template must have.
struct GridShape {
    int sides;
    int type;
};
GridShape ShapeOf(const TemplateInfo& t, int index) {
    Object probe(t.shapes[static_cast<std::size_t>(index)]);
    probe.SetGridType(t.gridType);
    return {probe.SideCount(), t.gridType};
}

// Passage bits beyond the grid's sides would lead the solver through sides that do not exist.
bool PassagesFit(const GridRecord& g) {
    const unsigned allowed = g.sideCount >= 16 ? 0xFFFFu : (1u << g.sideCount) - 1u;
    for (const MazeCell& c : g.cells)
        if (c.passages & ~allowed)
            return false;
    return true;
}

} // namespace

WkzReader::Result WkzReader::Read(CArchive& ar, PictureAllowance pictures) {
    double version = 0;
    ar >> version;
    if (ar.Failed()) {
        Result r;
        r.status = Status::damaged;
        r.message = WkzMessages::Damaged(ar.Error());
        return r;
    }
    // No version this program ever wrote is below the first or not a number: such bytes are
    // no document of it (the first bytes of a text read as a tiny number), however the rest
    // would read. A larger number may be a newer program's and is said to be too new.
    if (!std::isfinite(version) || version < kFirstVersion) {
        Result r;
        r.status = Status::badMagic;
        r.message = WkzMessages::NotAWkzFile();
        return r;
    }
    if (version < 2.0)
        return ReadV1(ar, version);
    if (version < 3.0)
        return ReadV2(ar, version, pictures);
    Result r;
    r.status = Status::versionTooNew;
    r.message = WkzMessages::LoadVersionTooNew(version);
    return r;
}

WkzReader::Result WkzReader::ReadV1(CArchive& ar, double version) {
    Result r;
    r.content.version = version;
    ReadSettings(ar, r.content);
    if (RefuseUnknownKind(ar, r))
        return r;
    ReadRingCounts(ar, r.content);
    Skip(ar, 3);
    ReadGrids(ar, r.content);
    return Finish(ar, std::move(r));
}

WkzReader::Result WkzReader::ReadV2(CArchive& ar, double version, PictureAllowance pictures) {
    Result r;
    WkzContent& c = r.content;
    c.version = version;
    std::string magic;
    ar >> magic;
    if (!ar.Failed() && magic != kMagic) {
        r.status = Status::badMagic;
        r.message = WkzMessages::NotAWkzFile();
        return r;
    }
    ReadSettings(ar, c);
    if (RefuseUnknownKind(ar, r))
        return r;
    std::int32_t unused = 0, tiled = 0, marker = 0;
    ar >> unused >> tiled >> c.tilerId >> marker;
    c.tiled = tiled;
    if (!ar.Failed() && marker > 0) {
        r.status = Status::upgradeMarker;
        r.message = WkzMessages::UpgradeRequired(version);
        return r;
    }
    ReadRingCounts(ar, c);
    Skip(ar, 6);
    ReadGrids(ar, c);
    ReadObjects(ar, c, pictures);
    ReadSeedPoints(ar, c);
    Skip(ar, 24);
    return Finish(ar, std::move(r));
}

bool WkzReader::RefuseUnknownKind(const CArchive& ar, Result& r) {
    // Without its grids such a file would load as an empty maze and lose what it holds.
    if (ar.Failed() || TemplateTables::Find(r.content.kind) != nullptr)
        return false;
    r.status = Status::unknownKind;
    r.message = WkzMessages::UnknownKind(r.content.kind);
    r.content = WkzContent{};
    return true;
}

WkzReader::Result WkzReader::Finish(CArchive& ar, Result r) {
    // A document ends with its last field; more than a little behind it is not a document
    // this program wrote, and would otherwise be carried along unseen.
    if (!ar.Failed() && ar.Remaining() > kMaxTrailingBytes)
        ar.Fail(std::to_string(ar.Remaining()) + " bytes follow the end of the maze");
    if (!ar.Failed())
        WkzFieldRanges::ClampFlags(r.content);
    if (ar.Failed()) {
        const bool stopped = ar.Error() == CRaster::kCancelled;
        r.status = stopped ? Status::cancelled : Status::damaged;
        r.message = stopped ? std::string() : WkzMessages::Damaged(ar.Error());
        r.content = WkzContent{};
    }
    return r;
}

void WkzReader::ReadSettings(CArchive& ar, WkzContent& c) {
    std::int32_t v[15] = {};
    ar >> v[0] >> c.name;
    for (int i = 1; i < 15; ++i)
        ar >> v[i];
    c.kind = v[0];
    c.flags = v[1];
    // v[2], the grid count, follows from the kind.
    c.scale = v[3];
    c.cursorColumn = v[4];
    c.xOffset = v[5];
    c.cursorRow = v[6];
    c.yOffset = v[7];
    c.columns = v[8];
    c.pageWidth = v[9];
    c.widthMultiplier = v[10];
    c.rows = v[11];
    c.pageHeight = v[12];
    c.heightMultiplier = v[13];
    c.seed = v[14];
    // An unknown kind is refused by name before anything else is judged.
    if (ar.Failed() || TemplateTables::Find(c.kind) == nullptr)
        return;
    if (const std::string why = WkzFieldRanges::CheckSettings(c); !why.empty())
        ar.Fail(why);
    else if (!GridRecord::IsLoadableSize(c.columns, c.rows))
        ar.Fail("The maze is larger than the program allows");
}

void WkzReader::ReadRingCounts(CArchive& ar, WkzContent& c) {
    std::int32_t n = 0;
    ar >> n;
    if (ar.Failed())
        return;
    if (n < 0 || n > Object::kMaxCells || !ar.CanRead(static_cast<std::uint64_t>(n), 4)) {
        ar.Fail("Bad ring count");
        return;
    }
    c.ringCounts.resize(static_cast<std::size_t>(n));
    for (int& count : c.ringCounts) {
        std::int32_t v = 0;
        ar >> v;
        count = v;
    }
}

void WkzReader::ReadGrids(CArchive& ar, WkzContent& c) {
    const TemplateInfo* t = TemplateTables::Find(c.kind);
    if (ar.Failed())
        return;
    if (t == nullptr) {
        ar.Fail("Unknown template kind");
        return;
    }
    for (int i = 0; i < t->GridCount() && !ar.Failed(); ++i) {
        GridRecord g;
        g.Load(ar);
        if (ar.Failed())
            return;
        const GridShape want = ShapeOf(*t, i);
        if (g.sideCount != want.sides || g.gridType != want.type) {
            ar.Fail("A grid does not belong to the maze's template");
            return;
        }
        if (!PassagesFit(g)) {
            ar.Fail("A cell opens a side its grid does not have");
            return;
        }
        if (const std::string why = WkzFieldRanges::CheckGrid(g, i); !why.empty()) {
            ar.Fail(why);
            return;
        }
        c.grids.push_back(std::move(g));
    }
}

void WkzReader::ReadObjects(CArchive& ar, WkzContent& c, PictureAllowance& pictures) {
    std::int32_t m = 0;
    ar >> m;
    if (ar.Failed())
        return;
    if (m < 0 || !ar.CanRead(static_cast<std::uint64_t>(m), kMinObjectRecord)) {
        ar.Fail("Bad layer object count");
        return;
    }
    c.objects.reserve(static_cast<std::size_t>(m));
    for (std::int32_t i = 0; i < m && !ar.Failed(); ++i) {
        CLogicalRectTracker o;
        o.Load(ar, pictures);
        if (!ar.Failed())
            c.objects.push_back(std::move(o));
    }
}

void WkzReader::ReadSeedPoints(CArchive& ar, WkzContent& c) {
    std::int32_t k = 0;
    ar >> k;
    if (ar.Failed())
        return;
    if (k < 0 || !ar.CanRead(static_cast<std::uint64_t>(k), 8)) {
        ar.Fail("Bad seed point count");
        return;
    }
    c.seedPoints.resize(static_cast<std::size_t>(k));
    for (CPoint& p : c.seedPoints)
        ar >> static_cast<POINT&>(p);
}

void WkzReader::Skip(CArchive& ar, int ints) {
    std::int32_t unused = 0;
    for (int i = 0; i < ints; ++i)
        ar >> unused;
}
