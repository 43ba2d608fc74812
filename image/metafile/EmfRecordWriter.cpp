#include "image/metafile/EmfRecordWriter.h"

#include <bit>

void EmfRecordWriter::Begin(DWORD type) {
    start_ = bytes_.size();
    U32(type);
    U32(0); // the size, known at End
}

void EmfRecordWriter::End() {
    while ((bytes_.size() - start_) % 4)
        bytes_.push_back(0);
    PatchU32(start_ + 4, static_cast<DWORD>(bytes_.size() - start_));
    ++records_;
}

void EmfRecordWriter::F32(float v) {
    Put(std::bit_cast<std::uint32_t>(v));
}

void EmfRecordWriter::PatchU32(std::size_t at, DWORD v) {
    PutLittleEndian(&bytes_[at], v);
}
