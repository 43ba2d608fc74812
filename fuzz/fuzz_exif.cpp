// Hostile EXIF blocks (an APP1 payload) for our own EXIF reader, and the same bytes as the
// sections in front of a JPEG's image data.
#include "image/codecs/CRasterExifReader.h"
#include "image/core/CRasterMemFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CRasterExifInfo info;
    CRasterExifReader reader(info);
    reader.ProcessExif({data, size});
    CRasterExifInfo sectionsInfo;
    CRasterExifReader sections(sectionsInfo);
    CRasterMemFile file(data, size);
    sections.ReadJpegSections(file);
    sections.DiscardAllButExif();
    return 0;
}
