#pragma once
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <vector>

#include <jpeglib.h>

class CRasterFile;

// Lets libjpeg read from or write to a CRasterFile through a 4,096-byte buffer. One adapter
// serves one decode or one encode and must outlive the libjpeg object it is attached to.
// A file that ends early reads as if it ended with an end-of-image marker, so that a
// truncated picture still decodes with what it holds.
class CRasterJpegFileAdapter {
public:
    static constexpr std::size_t kBufferSize = 4096;

    explicit CRasterJpegFileAdapter(CRasterFile& file);
    CRasterJpegFileAdapter(const CRasterJpegFileAdapter&) = delete;
    CRasterJpegFileAdapter& operator=(const CRasterJpegFileAdapter&) = delete;

    void AttachSource(j_decompress_ptr cinfo);
    void AttachDestination(j_compress_ptr cinfo);

private:
    struct Source : jpeg_source_mgr {
        CRasterJpegFileAdapter* self;
    };
    struct Destination : jpeg_destination_mgr {
        CRasterJpegFileAdapter* self;
    };

    static CRasterJpegFileAdapter& Of(j_decompress_ptr cinfo);
    static CRasterJpegFileAdapter& Of(j_compress_ptr cinfo);
    static void InitSource(j_decompress_ptr cinfo);
    static boolean FillInputBuffer(j_decompress_ptr cinfo);
    static void SkipInputData(j_decompress_ptr cinfo, long count);
    static void TermSource(j_decompress_ptr cinfo);
    static void InitDestination(j_compress_ptr cinfo);
    static boolean EmptyOutputBuffer(j_compress_ptr cinfo);
    static void TermDestination(j_compress_ptr cinfo);

    CRasterFile& file_;
    std::vector<JOCTET> buffer_;
    bool startOfFile_ = false;
    Source source_{};
    Destination destination_{};
};
