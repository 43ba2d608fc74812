// Feeds arbitrary bytes to the maze document reader. Whatever it accepts must write back and
// read again to the same bytes, and a document must take it and draw from it: the cell sizes
// the view works with stay inside the int range.
#include "ScratchProfile.h"
#include "document/CGridloomDoc.h"
#include "document/WkzReader.h"
#include "document/WkzWriter.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

void LoadIntoDocument(const std::uint8_t* data, std::size_t size) {
    static const ScratchProfile scratch("wkz");
    std::filesystem::remove(scratch.path);
    CProfile profile(scratch.path);
    ScriptedMessageBox prompts;
    IMessageBox::Installation installed(prompts);
    CGridloomDoc doc(profile);
    doc.OnFileNew();
    CArchive in = CArchive::ForLoading(std::span<const BYTE>(data, size));
    if (!doc.Serialize(in))
        return;
    // The view negates the height and multiplies both by cell counts.
    const int width = doc.GetCellWidth();
    const int height = doc.GetCellHeight();
    if (width < 0 || width == INT_MAX || height > 0 || height == INT_MIN)
        std::abort();
}

} // namespace

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
    LoadIntoDocument(data, size);
    return 0;
}
