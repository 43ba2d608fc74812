#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <functional>
#include <span>

class MetafileCanvas;
class MetafileRecord;

// Plays the records of a Windows metafile (after its headers) onto a canvas. Records are
// sized in 16-bit words; one whose size is below three words or runs past the data ends the
// play as corrupt, while a record whose fields do not fit is skipped.
class WmfPlayer {
public:
    // `stop` hears how far the play is (bytes done of all) before each record and answers
    // true to end it.
    using Stop = std::function<bool(std::uint64_t done, std::uint64_t total)>;
    WmfPlayer(MetafileCanvas& canvas, Stop stop) : canvas_(canvas), stop_(std::move(stop)) {}

    // CutShort: the canvas's work budget ran out before the end.
    enum class Result { Done, Corrupt, Cancelled, CutShort };
    Result Play(std::span<const BYTE> records);

private:
    void Record(WORD function, const MetafileRecord& r);
    void CreateObject(WORD function, const MetafileRecord& r);
    void Poly(WORD function, const MetafileRecord& r);
    void Text(WORD function, const MetafileRecord& r);
    void Blit(WORD function, const MetafileRecord& r);

    MetafileCanvas& canvas_;
    Stop stop_;
};
