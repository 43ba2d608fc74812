// Feeds arbitrary bytes to the maze document reader. Whatever it accepts must write back and
// read again to the same bytes.
#include "document/WkzReader.h"
#include "document/WkzWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CArchive in = CArchive::ForLoading(std::span<const BYTE>(data, size));
    WkzReader::Result r = WkzReader::Read(in);
    if (!r.Ok())
        return 0;
    CArchive out = CArchive::ForStoring();
    std::string error;
    if (!WkzWriter::Write(r.content, out, error))
        std::abort();
    const std::vector<BYTE> first = out.TakeData();
    CArchive again = CArchive::ForLoading(first);
    WkzReader::Result r2 = WkzReader::Read(again);
    if (!r2.Ok())
        std::abort();
    CArchive out2 = CArchive::ForStoring();
    WkzWriter::Write(r2.content, out2, error);
    if (out2.Data() != first)
        std::abort();
    return 0;
}
