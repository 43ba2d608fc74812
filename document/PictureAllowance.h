#pragma once
#include "image/core/PictureBudget.h"

#include <cstdint>
#include <string>
#include <vector>

class CLogicalRectTracker;
class CRaster;

// What the pictures of one document may hold while it is read: each picture its own budget,
// never more than what the document's total has left, and all of them together the total.
class PictureAllowance {
public:
    explicit PictureAllowance(DecodeOptions each = {},
                              std::uint64_t together = PictureBudget::kDocumentBytes)
        : each_(each), left_(together), together_(together) {}

    // What is left beside the pictures `objects` hold, each counted as reading them back from
    // a file would count it.
    static PictureAllowance Beside(const std::vector<CLogicalRectTracker>& objects,
                                   DecodeOptions each = {});

    // The options for decoding the next picture.
    DecodeOptions Next() const;
    // Charges what a decoded picture holds; false, with nothing charged, when that passes the
    // total.
    bool Take(const CRaster& picture);
    // Why a picture was refused: the decoder's reason, and the total when it was what
    // limited the decode.
    std::string Refusal(const char* decoderReason) const;
    std::string TotalPassedMessage() const;

private:
    static std::uint64_t Held(const CRaster& picture);

    DecodeOptions each_;
    std::uint64_t left_;
    std::uint64_t together_;
};
