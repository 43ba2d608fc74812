#pragma once
#include "document/CLogicalRectTracker.h"
#include "platform/CPoint.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class CGridloomDoc;

// One saved block: a copy of one grid's cell words, with the size of the grid it came from.
struct UnDoRecord {
    std::vector<std::byte> bytes;
    int width = 0;
    int height = 0;
    std::int32_t tag = 0;
};

// What a maze step keeps beside the cells, so that undoing START or Grow leaves no flag
// claiming a START or a maze the cells no longer have.
struct UnDoMazeState {
    int userEnds = 0; // the user-placed START / STOP bits of the document's flags
    int mazeMade = 0;
    int cleared = 1;
    std::vector<CPoint> seedPoints;
};

// One undo step: the cells of every grid in grid order (maze steps), or a copy of the layer
// objects (object steps), tagged with the document's grid generation when it was saved.
struct UnDoGroup {
    std::deque<UnDoRecord> records;
    std::optional<UnDoMazeState> maze;
    std::optional<std::vector<CLogicalRectTracker>> objects;
    std::uint64_t generation = 0;
};

// The view's bounded undo history: per channel the latest `depth` steps, newest first.
// Channel 0 keeps maze-layer steps, channel 1 object-layer steps; channel 2 stays empty.
// Nothing saved under an older grid generation, or for grids of another size, is ever
// written back: such a step is dropped.
class CQVUnDo {
public:
    static constexpr int kChannels = 3;
    static constexpr int kMazeChannel = 0;
    static constexpr int kObjectChannel = 1;

    // The maze layer (2) and unknown layers use channel 0; the object layers 1, 3, 4 use 1.
    static int SelectUndoChannel(int layer);

    void SetDepth(int n) { depth_ = n < 1 ? 1 : n; }
    int GetDepth() const { return depth_; }
    int GetGroupCount(int channel) const;

    // Appends a copy of `size` bytes as a record of the front group (a new one first when
    // asked), then drops the oldest group beyond the depth. The record's grid size is
    // width x height cells.
    void Push(int channel, bool newGroup, const void* bytes, std::size_t size, int width = 0,
              int height = 0);
    // Copies record `index` of the front group into `buffer` when it holds exactly `size`
    // bytes (false, nothing copied, otherwise); removes the front group when asked, either way.
    bool Restore(int channel, bool remove, void* buffer, std::size_t size, std::size_t index);
    // The size of record `index` of the front group; 0 when there is none.
    std::size_t GetRecordSize(int channel, std::size_t index) const;

    // Saves what a press on a layer of that channel may change.
    void SaveUndoState(int channel, const CGridloomDoc& doc);
    // Brings the latest step of the channel back and removes it; false when there was none
    // fit to restore (a stale one is dropped without writing anything).
    bool RestoreUndoState(int channel, CGridloomDoc& doc);
    // Drops every step saved under another grid generation than the document's.
    void DropStale(const CGridloomDoc& doc);

private:
    std::deque<UnDoGroup>* Channel(int channel);
    const std::deque<UnDoGroup>* Channel(int channel) const;
    void Trim(std::deque<UnDoGroup>& groups) const;
    bool RestoreCells(UnDoGroup& group, CGridloomDoc& doc) const;

    std::array<std::deque<UnDoGroup>, kChannels> channels_;
    int depth_ = 4;
};
