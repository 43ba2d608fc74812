#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/RegularFile.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The framework's binary archive: little-endian numbers, strings with a 1/3/7-byte length
// prefix. A loading archive reads from bytes it holds; a storing archive collects bytes that
// the caller writes out (see AtomicFile). Reads never run past the data: a short or hostile
// input sets a sticky failure, reads then yield zeros, and the caller checks Failed().
class CArchive {
public:
    enum Mode { store, load };

    static CArchive ForStoring() { return CArchive(store, {}); }
    static CArchive ForLoading(std::vector<BYTE> data) { return CArchive(load, std::move(data)); }
    static CArchive ForLoading(std::span<const BYTE> data) {
        return CArchive(load, std::vector<BYTE>(data.begin(), data.end()));
    }
    // Reads an opened file (RegularFile::Open) as far as the reader asks, a piece at a time,
    // so that bytes nobody asks for are never read.
    static CArchive ForLoading(RegularFile file);
    // Loads from a regular file of at most `maxBytes`; otherwise (a folder, a FIFO, a
    // device, a larger file, a read error) the archive is failed with a message naming the
    // path and the reason.
    static CArchive LoadFile(const std::string& path, std::uint64_t maxBytes);

    bool IsStoring() const { return mode_ == store; }
    bool IsLoading() const { return mode_ == load; }

    // Loading: bytes not yet read. Checks a count of items before allocating for them.
    std::uint64_t Remaining() const { return total_ - Position(); }
    bool CanRead(std::uint64_t count, std::uint64_t itemSize = 1) const;
    std::uint64_t Position() const { return dropped_ + pos_; }

    bool Failed() const { return failed_; }
    const std::string& Error() const { return error_; }
    // Marks the archive failed (a reader that found a bad value); the first reason is kept.
    void Fail(const std::string& why);

    // Storing: the bytes written so far.
    const std::vector<BYTE>& Data() const { return data_; }
    std::vector<BYTE> TakeData() { return std::move(data_); }

    void WriteBytes(const void* p, std::size_t n);
    // Reads exactly n bytes or fails and zero-fills.
    bool ReadBytes(void* p, std::size_t n);
    std::vector<BYTE> ReadByteVector(std::uint64_t n);

    CArchive& operator<<(double v);
    CArchive& operator<<(std::int32_t v);
    CArchive& operator<<(std::uint32_t v);
    CArchive& operator<<(WORD v);
    CArchive& operator<<(BYTE v);
    // Text is UTF-8 in memory and Windows-1252 on disk.
    CArchive& operator<<(const std::string& s);
    CArchive& operator<<(const char* s) { return *this << std::string(s); }
    CArchive& operator<<(const RECT& r);
    CArchive& operator<<(const POINT& p);

    CArchive& operator>>(double& v);
    CArchive& operator>>(std::int32_t& v);
    CArchive& operator>>(std::uint32_t& v);
    CArchive& operator>>(WORD& v);
    CArchive& operator>>(BYTE& v);
    CArchive& operator>>(std::string& s);
    CArchive& operator>>(RECT& r);
    CArchive& operator>>(POINT& p);

    // The string as stored, without the code-page conversion.
    void WriteRawString(const std::string& bytes);
    std::string ReadRawString();

private:
    CArchive(Mode mode, std::vector<BYTE> data)
        : mode_(mode), data_(std::move(data)), total_(data_.size()) {}
    // Makes n bytes from the position readable in data_; false when the file fails.
    bool Buffer(std::size_t n);
    // A failed read leaves the archive at its end.
    bool FailAtEnd(const std::string& why);

    Mode mode_;
    std::vector<BYTE> data_; // loading from a file: the part read and not yet passed
    std::size_t pos_ = 0;
    std::uint64_t total_ = 0;   // bytes of the whole input
    std::uint64_t dropped_ = 0; // bytes passed and no longer held
    std::unique_ptr<RegularFile> source_;
    bool failed_ = false;
    std::string error_;
};
