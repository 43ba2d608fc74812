#include "view/CQVUnDo.h"

#include "document/CGridloomDoc.h"
#include "maze/MazeCell.h"

#include <cstring>

static_assert(sizeof(MazeCell) == 4, "a cell word is saved as 4 bytes");

namespace {

constexpr int kUserEnds = MazeProgress::kUserStart | MazeProgress::kUserStop;

std::size_t CellBytes(const Object& grid) {
    return static_cast<std::size_t>(grid.Cells().size()) * sizeof(MazeCell);
}

} // namespace

int CQVUnDo::SelectUndoChannel(int layer) {
    switch (layer) {
    case CLogicalRectTracker::layerBackground:
    case CLogicalRectTracker::layerForeground:
    case CLogicalRectTracker::layerText:
        return kObjectChannel;
    default:
        return kMazeChannel;
    }
}

std::deque<UnDoGroup>* CQVUnDo::Channel(int channel) {
    if (channel < 0 || channel >= kChannels)
        return nullptr;
    return &channels_[static_cast<std::size_t>(channel)];
}

const std::deque<UnDoGroup>* CQVUnDo::Channel(int channel) const {
    if (channel < 0 || channel >= kChannels)
        return nullptr;
    return &channels_[static_cast<std::size_t>(channel)];
}

int CQVUnDo::GetGroupCount(int channel) const {
    const auto* groups = Channel(channel);
    return groups ? static_cast<int>(groups->size()) : 0;
}

void CQVUnDo::Trim(std::deque<UnDoGroup>& groups) const {
    while (groups.size() > static_cast<std::size_t>(depth_))
        groups.pop_back();
}

void CQVUnDo::Push(int channel, bool newGroup, const void* bytes, std::size_t size, int width,
                   int height) {
    auto* groups = Channel(channel);
    if (!groups)
        return;
    if (newGroup || groups->empty())
        groups->emplace_front();
    UnDoRecord record;
    const auto* from = static_cast<const std::byte*>(bytes);
    if (size > 0)
        record.bytes.assign(from, from + size);
    record.width = width;
    record.height = height;
    groups->front().records.push_back(std::move(record));
    Trim(*groups);
}

bool CQVUnDo::Restore(int channel, bool remove, void* buffer, std::size_t size, std::size_t index) {
    auto* groups = Channel(channel);
    if (!groups || groups->empty())
        return false;
    const auto& records = groups->front().records;
    const bool fits = index < records.size() && records[index].bytes.size() == size;
    if (fits && size > 0)
        std::memcpy(buffer, records[index].bytes.data(), size);
    if (remove)
        groups->pop_front();
    return fits;
}

std::size_t CQVUnDo::GetRecordSize(int channel, std::size_t index) const {
    const auto* groups = Channel(channel);
    if (!groups || groups->empty() || index >= groups->front().records.size())
        return 0;
    return groups->front().records[index].bytes.size();
}

void CQVUnDo::SaveUndoState(int channel, const CGridloomDoc& doc) {
    if (channel < 0 || channel >= kChannels)
        return;
    if (channel != kMazeChannel) {
        auto* groups = Channel(kObjectChannel);
        UnDoGroup group;
        // A plain copy: the objects share their pictures with the document.
        group.objects = doc.layerObjects;
        group.generation = doc.GridGeneration();
        groups->push_front(std::move(group));
        Trim(*groups);
        return;
    }
    auto* groups = Channel(kMazeChannel);
    for (int i = 0; i < doc.GridCount(); ++i) {
        const Object& grid = *doc.GetGrid(i);
        Push(kMazeChannel, i == 0, grid.Cells().data(), CellBytes(grid), grid.Width(),
             grid.Height());
    }
    if (doc.GridCount() == 0)
        groups->emplace_front();
    UnDoGroup& front = groups->front();
    front.maze = UnDoMazeState{doc.docFlags & kUserEnds, doc.mazeMade, doc.cleared, doc.seedPoints};
    front.generation = doc.GridGeneration();
    Trim(*groups);
}

void CQVUnDo::DropStale(const CGridloomDoc& doc) {
    for (auto& groups : channels_)
        std::erase_if(groups,
                      [&](const UnDoGroup& g) { return g.generation != doc.GridGeneration(); });
}

bool CQVUnDo::RestoreUndoState(int channel, CGridloomDoc& doc) {
    DropStale(doc);
    if (channel < 0 || channel >= kChannels)
        return false;
    // Channel 2 is never filled: its steps are the object channel's.
    auto* groups = Channel(channel == kMazeChannel ? kMazeChannel : kObjectChannel);
    if (groups->empty())
        return false;
    UnDoGroup group = std::move(groups->front());
    groups->pop_front();
    if (group.objects) {
        doc.layerObjects = std::move(*group.objects);
    } else if (!RestoreCells(group, doc)) {
        return false;
    }
    doc.SetModifiedFlag();
    doc.reRender = 1;
    return true;
}

bool CQVUnDo::RestoreCells(UnDoGroup& group, CGridloomDoc& doc) const {
    // Every record must fit its grid before any cell is written.
    if (!group.maze || group.records.size() != static_cast<std::size_t>(doc.GridCount()))
        return false;
    for (int i = 0; i < doc.GridCount(); ++i) {
        const Object& grid = *doc.GetGrid(i);
        const UnDoRecord& r = group.records[static_cast<std::size_t>(i)];
        if (r.width != grid.Width() || r.height != grid.Height() ||
            r.bytes.size() != CellBytes(grid))
            return false;
    }
    for (int i = 0; i < doc.GridCount(); ++i) {
        Object& grid = *doc.GetGrid(i);
        const UnDoRecord& r = group.records[static_cast<std::size_t>(i)];
        if (!r.bytes.empty())
            std::memcpy(grid.Cells().data(), r.bytes.data(), r.bytes.size());
    }
    const UnDoMazeState& m = *group.maze;
    doc.docFlags = (doc.docFlags & ~kUserEnds) | m.userEnds;
    doc.mazeMade = m.mazeMade;
    doc.cleared = m.cleared;
    doc.seedPoints = m.seedPoints;
    return true;
}
