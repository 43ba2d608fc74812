#include "image/core/CRasterMemFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr std::uint64_t kGrowStep = 65536;

// size x count in 64 bits; 0 when it overflows, which every caller treats as nothing to do.
std::uint64_t ByteCount(std::size_t size, std::size_t count) {
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(std::uint64_t{size}, std::uint64_t{count}, &bytes))
        return 0;
    return bytes;
}

} // namespace

CRasterMemFile::CRasterMemFile(const BYTE* buffer, std::size_t size) {
    if (!buffer)
        return;
    data_ = buffer;
    size_ = capacity_ = static_cast<LONG>(std::min<std::size_t>(size, LONG_MAX));
}

bool CRasterMemFile::Open() {
    if (data_)
        return false;
    try {
        own_.clear();
        own_.reserve(1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    data_ = own_.data();
    owned_ = true;
    size_ = position_ = capacity_ = 0;
    return true;
}

std::vector<BYTE> CRasterMemFile::DetachBuffer() {
    std::vector<BYTE> out;
    if (owned_) {
        out = std::move(own_);
    } else if (data_) {
        out.assign(data_, data_ + size_);
    }
    own_.clear();
    data_ = nullptr;
    owned_ = false;
    size_ = position_ = capacity_ = 0;
    return out;
}

bool CRasterMemFile::Close() {
    if (owned_) {
        own_ = {};
        data_ = nullptr;
        owned_ = false;
        size_ = 0;
    }
    return true;
}

// Makes the buffer ours with room for `needed` bytes; the caller's bytes are copied, never
// reallocated. The reported capacity keeps the 64 KiB steps of the stored format's writers;
// the storage itself grows geometrically and holds only written bytes, so nothing is cleared
// that is then overwritten.
bool CRasterMemFile::Grow(std::uint64_t needed) {
    if (!data_)
        return false;
    if (owned_ && needed <= static_cast<std::uint64_t>(capacity_))
        return true;
    std::uint64_t capacity = static_cast<std::uint64_t>(capacity_);
    if (needed > capacity)
        capacity = (needed & ~(kGrowStep - 1)) + kGrowStep;
    if (capacity > static_cast<std::uint64_t>(LONG_MAX))
        return false;
    try {
        if (!owned_) {
            std::vector<BYTE> copy;
            copy.reserve(static_cast<std::size_t>(capacity));
            copy.assign(data_, data_ + size_);
            own_ = std::move(copy);
            owned_ = true;
        } else if (capacity > own_.capacity()) {
            own_.reserve(
                std::max<std::size_t>(static_cast<std::size_t>(capacity), own_.capacity() * 2));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    data_ = own_.data();
    capacity_ = static_cast<LONG>(capacity);
    return true;
}

// Writes at the position: a gap past the end is zero-filled, what lies inside is overwritten
// and the rest appended.
bool CRasterMemFile::Place(const BYTE* bytes, std::size_t n) {
    const std::uint64_t end = static_cast<std::uint64_t>(position_) + n;
    if (!Grow(end))
        return false;
    const auto at = static_cast<std::size_t>(position_);
    if (at > own_.size())
        own_.resize(at);
    const std::size_t inside = std::min(n, own_.size() - at);
    std::memcpy(own_.data() + at, bytes, inside);
    own_.insert(own_.end(), bytes + inside, bytes + n);
    data_ = own_.data();
    position_ = static_cast<LONG>(end);
    size_ = std::max(size_, position_);
    return true;
}

std::size_t CRasterMemFile::Read(void* buffer, std::size_t size, std::size_t count) {
    const std::uint64_t bytes = ByteCount(size, count);
    if (!buffer || !data_ || position_ >= size_ || bytes == 0)
        return 0;
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(bytes, size_ - position_));
    std::memcpy(buffer, data_ + position_, n);
    position_ += static_cast<LONG>(n);
    return n / size;
}

std::size_t CRasterMemFile::Write(const void* buffer, std::size_t size, std::size_t count) {
    const std::uint64_t bytes = ByteCount(size, count);
    if (!buffer || !data_ || bytes == 0)
        return 0;
    if (!Place(static_cast<const BYTE*>(buffer), static_cast<std::size_t>(bytes)))
        return 0;
    return count;
}

bool CRasterMemFile::Seek(LONG offset, int origin) {
    if (!data_)
        return false;
    std::int64_t base = 0;
    if (origin == 1)
        base = position_;
    else if (origin == 2)
        base = size_;
    else if (origin != 0)
        return false;
    const std::int64_t target = std::clamp<std::int64_t>(base + offset, 0, LONG_MAX);
    position_ = static_cast<LONG>(target);
    return true;
}

LONG CRasterMemFile::Tell() {
    return data_ ? position_ : -1;
}

LONG CRasterMemFile::Size() {
    return data_ ? size_ : -1;
}

bool CRasterMemFile::Flush() {
    return data_ != nullptr;
}

bool CRasterMemFile::Eof() {
    return !data_ || position_ >= size_;
}

LONG CRasterMemFile::Error() {
    if (!data_)
        return -1;
    return position_ > size_ ? 1 : 0;
}

bool CRasterMemFile::PutC(BYTE c) {
    return data_ && Place(&c, 1);
}

LONG CRasterMemFile::GetC() {
    if (!data_ || position_ >= size_)
        return -1;
    return data_[position_++];
}

char* CRasterMemFile::GetS(char* buffer, int capacity) {
    if (!buffer || capacity <= 0)
        return nullptr;
    int stored = 0;
    while (stored < capacity - 1) {
        const LONG c = GetC();
        if (c < 0)
            return nullptr;
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    buffer[stored] = 0;
    return buffer;
}

LONG CRasterMemFile::Scanf(const char*, void*) {
    return 0;
}
