#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The raw header lines of the last HTTP response seen on a transfer. Redirects and interim
// answers each start a new block, so only the final response's headers remain.
class HttpHeaderBlock {
public:
    // A peer may send headers without end; beyond this the transfer is refused.
    static constexpr std::size_t kMaxBytes = 256 * 1024;

    void Clear() { raw_.clear(); }
    // Takes one header line as received (CR LF included). A status line starts a new block.
    // False when the block would grow beyond kMaxBytes (the block is left as it was).
    bool AddLine(std::string_view line);

    const std::string& Raw() const { return raw_; }
    // The value of the first field called `name` (case-insensitive), trimmed; false if absent.
    bool Field(std::string_view name, std::string& value) const;

private:
    std::string raw_;
};
