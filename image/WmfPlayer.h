#pragma once
#include "platform/WinTypes.h"

#include <functional>
#include <span>

class MetafileCanvas;
class MetafileRecord;

// Plays the records of a Windows metafile (after its headers) onto a canvas. Records are
// sized in 16-bit words; one whose size is below three words or runs past the data ends the
// play as corrupt, while a record whose fields do not fit is skipped.
class WmfPlayer {
public:
    WmfPlayer(MetafileCanvas& canvas, std::function<bool()> cancelled)
        : canvas_(canvas), cancelled_(std::move(cancelled)) {}

    enum class Result { Done, Corrupt, Cancelled };
    Result Play(std::span<const BYTE> records);

private:
    void Record(WORD function, const MetafileRecord& r);
    void CreateObject(WORD function, const MetafileRecord& r);
    void Poly(WORD function, const MetafileRecord& r);
    void Text(WORD function, const MetafileRecord& r);
    void Blit(WORD function, const MetafileRecord& r);

    MetafileCanvas& canvas_;
    std::function<bool()> cancelled_;
};
