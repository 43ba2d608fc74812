#include "platform/CArchive.h"

#include "platform/LittleEndian.h"
#include "platform/RegularFile.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

template <typename T> void PutLE(CArchive& ar, T v) {
    BYTE b[sizeof(T)];
    PutLittleEndian(b, v);
    ar.WriteBytes(b, sizeof(T));
}

// A short read leaves zero bytes, so the value is 0 and the archive has failed.
template <typename T> T GetLE(CArchive& ar) {
    BYTE b[sizeof(T)];
    ar.ReadBytes(b, sizeof(T));
    return GetLittleEndian<T>(b);
}

} // namespace

namespace {

constexpr std::size_t kPiece = 64 * 1024;

} // namespace

CArchive CArchive::ForLoading(RegularFile file) {
    CArchive ar(load, {});
    if (!file.Ok()) {
        ar.Fail(file.reason);
        return ar;
    }
    ar.total_ = file.size;
    ar.source_ = std::make_unique<RegularFile>(std::move(file));
    return ar;
}

CArchive CArchive::LoadFile(const std::string& path, std::uint64_t maxBytes) {
    RegularFile file = RegularFile::Open(path, maxBytes);
    if (!file.Ok()) {
        CArchive ar(load, {});
        ar.Fail("Could not read " + path + ": " + file.reason);
        return ar;
    }
    return ForLoading(std::move(file));
}

bool CArchive::Buffer(std::size_t n) {
    if (data_.size() - pos_ >= n)
        return true;
    if (!source_)
        return false;
    data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(pos_));
    dropped_ += pos_;
    pos_ = 0;
    std::size_t have = data_.size();
    const std::uint64_t unread = total_ - dropped_;
    data_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(std::max(n, kPiece), unread)));
    while (have < n) {
        const long long got = source_->ReadSome(data_.data() + have, data_.size() - have);
        if (got <= 0) {
            data_.resize(have);
            return false;
        }
        have += static_cast<std::size_t>(got);
    }
    data_.resize(have);
    return true;
}

bool CArchive::FailAtEnd(const std::string& why) {
    Fail(why);
    data_.clear();
    pos_ = 0;
    dropped_ = total_;
    return false;
}

bool CArchive::CanRead(std::uint64_t count, std::uint64_t itemSize) const {
    if (failed_)
        return false;
    if (itemSize != 0 && count > UINT64_MAX / itemSize)
        return false;
    return count * itemSize <= Remaining();
}

void CArchive::Fail(const std::string& why) {
    if (!failed_)
        error_ = why;
    failed_ = true;
}

void CArchive::WriteBytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const BYTE*>(p);
    data_.insert(data_.end(), b, b + n);
}

bool CArchive::ReadBytes(void* p, std::size_t n) {
    auto* out = static_cast<BYTE*>(p);
    if (!CanRead(n)) {
        if (n != 0)
            std::memset(p, 0, n);
        return FailAtEnd("Unexpected end of file");
    }
    // A large read past what is held goes straight from the file into its place.
    const std::size_t held = std::min(n, data_.size() - pos_);
    if (n - held >= kPiece && source_) {
        if (held != 0)
            std::memcpy(out, data_.data() + pos_, held);
        dropped_ += data_.size();
        data_.clear();
        pos_ = 0;
        for (std::size_t have = held; have < n;) {
            const long long got = source_->ReadSome(out + have, n - have);
            if (got <= 0)
                return FailAtEnd(source_->Ok() ? "Unexpected end of file" : source_->reason);
            have += static_cast<std::size_t>(got);
            dropped_ += static_cast<std::uint64_t>(got);
        }
        return true;
    }
    if (!Buffer(n)) {
        std::memset(p, 0, n);
        return FailAtEnd(source_ && !source_->Ok() ? source_->reason : "Unexpected end of file");
    }
    if (n != 0)
        std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
    return true;
}

std::vector<BYTE> CArchive::ReadByteVector(std::uint64_t n) {
    if (!CanRead(n)) {
        FailAtEnd("Unexpected end of file");
        return {};
    }
    std::vector<BYTE> out(static_cast<std::size_t>(n));
    if (!ReadBytes(out.data(), out.size()))
        return {};
    return out;
}

CArchive& CArchive::operator<<(double v) {
    PutLE(*this, std::bit_cast<std::uint64_t>(v));
    return *this;
}
CArchive& CArchive::operator<<(std::int32_t v) {
    PutLE(*this, static_cast<std::uint32_t>(v));
    return *this;
}
CArchive& CArchive::operator<<(std::uint32_t v) {
    PutLE(*this, v);
    return *this;
}
CArchive& CArchive::operator<<(WORD v) {
    PutLE(*this, v);
    return *this;
}
CArchive& CArchive::operator<<(BYTE v) {
    data_.push_back(v);
    return *this;
}
CArchive& CArchive::operator<<(const std::string& s) {
    WriteRawString(Utf8ToCp1252(s));
    return *this;
}
CArchive& CArchive::operator<<(const RECT& r) {
    return *this << r.left << r.top << r.right << r.bottom;
}
CArchive& CArchive::operator<<(const POINT& p) {
    return *this << p.x << p.y;
}

void CArchive::WriteRawString(const std::string& bytes) {
    const std::size_t n = bytes.size();
    if (n < 0xFF) {
        *this << static_cast<BYTE>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(n);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF)
              << static_cast<std::uint32_t>(n);
    }
    WriteBytes(bytes.data(), n);
}

CArchive& CArchive::operator>>(double& v) {
    v = std::bit_cast<double>(GetLE<std::uint64_t>(*this));
    return *this;
}
CArchive& CArchive::operator>>(std::int32_t& v) {
    v = GetLE<std::int32_t>(*this);
    return *this;
}
CArchive& CArchive::operator>>(std::uint32_t& v) {
    v = GetLE<std::uint32_t>(*this);
    return *this;
}
CArchive& CArchive::operator>>(WORD& v) {
    v = GetLE<WORD>(*this);
    return *this;
}
CArchive& CArchive::operator>>(BYTE& v) {
    ReadBytes(&v, 1);
    return *this;
}
CArchive& CArchive::operator>>(std::string& s) {
    s = Cp1252ToUtf8(ReadRawString());
    return *this;
}
CArchive& CArchive::operator>>(RECT& r) {
    return *this >> r.left >> r.top >> r.right >> r.bottom;
}
CArchive& CArchive::operator>>(POINT& p) {
    return *this >> p.x >> p.y;
}

std::string CArchive::ReadRawString() {
    BYTE b = 0;
    *this >> b;
    std::uint64_t n = b;
    if (b == 0xFF) {
        WORD w = 0;
        *this >> w;
        n = w;
        if (w == 0xFFFF) {
            std::uint32_t d = 0;
            *this >> d;
            n = d;
        }
    }
    if (failed_)
        return {};
    if (!CanRead(n)) {
        FailAtEnd("String length exceeds the data");
        return {};
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    if (!ReadBytes(out.data(), out.size()))
        return {};
    return out;
}
