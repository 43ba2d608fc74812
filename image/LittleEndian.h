#pragma once
// Reading and writing little-endian numbers in byte buffers, the order of every stored Windows
// structure. Field by field, so the host's struct layout never matters.
#include "platform/LittleEndian.h"

inline WORD GetLE16(const BYTE* p) {
    return GetLittleEndian<WORD>(p);
}
inline DWORD GetLE32(const BYTE* p) {
    return GetLittleEndian<DWORD>(p);
}
inline void PutLE16(BYTE* p, WORD v) {
    PutLittleEndian(p, v);
}
inline void PutLE32(BYTE* p, DWORD v) {
    PutLittleEndian(p, v);
}
