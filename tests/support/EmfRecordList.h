#pragma once
// The records of an enhanced metafile as the tests look at them: type, place and size, and
// little-endian fields read straight from the file's bytes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class EmfRecordList {
public:
    struct Record {
        std::uint32_t type = 0;
        std::size_t at = 0;
        std::uint32_t size = 0;
    };

    explicit EmfRecordList(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
        std::size_t at = 0;
        while (at + 8 <= bytes_.size()) {
            const std::uint32_t size = U32(at + 4);
            if (size < 8 || size % 4 != 0 || size > bytes_.size() - at) {
                wellFormed_ = false;
                break;
            }
            records_.push_back({U32(at), at, size});
            at += size;
        }
        wellFormed_ = wellFormed_ && at == bytes_.size();
    }
    static EmfRecordList FromFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return EmfRecordList(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    }

    // Every record lies inside the file, the last one ends it.
    bool WellFormed() const { return wellFormed_ && !records_.empty(); }
    const std::vector<Record>& Records() const { return records_; }
    std::vector<Record> OfType(std::uint32_t type) const {
        std::vector<Record> out;
        for (const Record& r : records_)
            if (r.type == type)
                out.push_back(r);
        return out;
    }
    std::size_t Size() const { return bytes_.size(); }

    std::uint32_t U32(std::size_t at) const {
        return at + 4 <= bytes_.size()
                   ? std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 |
                         std::uint32_t(bytes_[at + 2]) << 16 | std::uint32_t(bytes_[at + 3]) << 24
                   : 0;
    }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::uint16_t U16(std::size_t at) const {
        return at + 2 <= bytes_.size() ? std::uint16_t(bytes_[at] | bytes_[at + 1] << 8) : 0;
    }
    std::int16_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    // UTF-16 text of `units` code units, each below 128 taken as a character and the rest as '?'.
    std::string Ascii16(std::size_t at, std::size_t units) const {
        std::string out;
        for (std::size_t i = 0; i < units; ++i) {
            const std::uint16_t u = U16(at + 2 * i);
            out += u < 128 ? static_cast<char>(u) : '?';
        }
        return out;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<Record> records_;
    bool wellFormed_ = true;
};
