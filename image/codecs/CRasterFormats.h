#pragma once
#include "platform/WinTypes.h"

#include <memory>
#include <span>

class CRasterCodec;

// The table of picture formats by type id: which class reads and writes each, and the order
// in which detection tries them. Formats whose codec is not built in yet have a stand-in
// that fails with a clear text, so that their ids stay reserved and detection skips them.
class CRasterFormats {
public:
    struct Entry {
        DWORD type;
        const char* name;
        bool writable;
        std::unique_ptr<CRasterCodec> (*make)(DWORD type); // null: no codec yet
    };

    // The entry of a type id 1..15, or null for any other id.
    static const Entry* Find(DWORD type);
    // The codec object for a type id 1..15 (a stand-in when the codec is missing), or null.
    static std::unique_ptr<CRasterCodec> MakeCodec(DWORD type);
    // Type ids in the order detection tries them.
    static std::span<const DWORD> DetectionOrder();
    // The format a file's first bytes claim by an unmistakable signature, or kTypeUnknown.
    static DWORD Claimed(std::span<const BYTE> head);
    static constexpr std::size_t kClaimBytes = 18;
};
