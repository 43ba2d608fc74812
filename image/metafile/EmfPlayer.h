#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class MetafileCanvas;
class MetafileRecord;

// Plays the records of an enhanced metafile onto a canvas. Every record is at least 8 bytes,
// a multiple of 4 and inside the data, or the play ends as corrupt; a record whose counts,
// offsets or strings do not fit is skipped. EMF+ comments are skipped too, so their EMF
// fallback is what gets drawn.
class EmfPlayer {
public:
    // `stop` hears how far the play is (bytes done of all) before each record and answers
    // true to end it.
    using Stop = std::function<bool(std::uint64_t done, std::uint64_t total)>;
    EmfPlayer(MetafileCanvas& canvas, Stop stop) : canvas_(canvas), stop_(std::move(stop)) {}

    // CutShort: the canvas's work budget ran out before the end.
    enum class Result { Done, Corrupt, Cancelled, CutShort };
    // `data` is the whole metafile, header record first.
    Result Play(std::span<const BYTE> data);

private:
    void Record(DWORD type, const MetafileRecord& r);
    void Select(DWORD index);
    static bool RegionRects(const MetafileRecord& r, std::size_t at, DWORD bytes,
                            std::vector<RECT>& rects);
    void CreateObject(DWORD type, const MetafileRecord& r);
    void Poly(DWORD type, const MetafileRecord& r);
    void PolyPoly(DWORD type, const MetafileRecord& r);
    void PolyDraw(DWORD type, const MetafileRecord& r);
    void GradientFill(const MetafileRecord& r);
    void Text(DWORD type, const MetafileRecord& r);
    void TextAt(const MetafileRecord& r, std::size_t at, bool wide);
    void Say(double x, double y, std::span<const BYTE> bytes, bool wide, DWORD options,
             const RECT& box);
    void Blit(DWORD type, const MetafileRecord& r);

    MetafileCanvas& canvas_;
    Stop stop_;
};
