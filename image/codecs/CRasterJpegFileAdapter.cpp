#include "image/codecs/CRasterJpegFileAdapter.h"

#include "image/core/CRasterFile.h"

#include <jerror.h>

CRasterJpegFileAdapter::CRasterJpegFileAdapter(CRasterFile& file)
    : file_(file), buffer_(kBufferSize) {}

void CRasterJpegFileAdapter::AttachSource(j_decompress_ptr cinfo) {
    source_.self = this;
    source_.init_source = InitSource;
    source_.fill_input_buffer = FillInputBuffer;
    source_.skip_input_data = SkipInputData;
    source_.resync_to_restart = jpeg_resync_to_restart;
    source_.term_source = TermSource;
    source_.next_input_byte = nullptr;
    source_.bytes_in_buffer = 0;
    cinfo->src = &source_;
}

void CRasterJpegFileAdapter::AttachDestination(j_compress_ptr cinfo) {
    destination_.self = this;
    destination_.init_destination = InitDestination;
    destination_.empty_output_buffer = EmptyOutputBuffer;
    destination_.term_destination = TermDestination;
    cinfo->dest = &destination_;
}

CRasterJpegFileAdapter& CRasterJpegFileAdapter::Of(j_decompress_ptr cinfo) {
    return *static_cast<Source*>(cinfo->src)->self;
}

CRasterJpegFileAdapter& CRasterJpegFileAdapter::Of(j_compress_ptr cinfo) {
    return *static_cast<Destination*>(cinfo->dest)->self;
}

void CRasterJpegFileAdapter::InitSource(j_decompress_ptr cinfo) {
    Of(cinfo).startOfFile_ = true;
}

boolean CRasterJpegFileAdapter::FillInputBuffer(j_decompress_ptr cinfo) {
    CRasterJpegFileAdapter& a = Of(cinfo);
    std::size_t n = a.file_.Read(a.buffer_.data(), 1, kBufferSize);
    if (n == 0) {
        if (a.startOfFile_)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        a.buffer_[0] = 0xFF;
        a.buffer_[1] = JPEG_EOI;
        n = 2;
    }
    a.source_.next_input_byte = a.buffer_.data();
    a.source_.bytes_in_buffer = n;
    a.startOfFile_ = false;
    return TRUE;
}

void CRasterJpegFileAdapter::SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    Source& src = Of(cinfo).source_;
    auto left = static_cast<std::size_t>(count);
    while (left > src.bytes_in_buffer) {
        left -= src.bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    src.next_input_byte += left;
    src.bytes_in_buffer -= left;
}

void CRasterJpegFileAdapter::TermSource(j_decompress_ptr) {}

void CRasterJpegFileAdapter::InitDestination(j_compress_ptr cinfo) {
    CRasterJpegFileAdapter& a = Of(cinfo);
    a.destination_.next_output_byte = a.buffer_.data();
    a.destination_.free_in_buffer = kBufferSize;
}

boolean CRasterJpegFileAdapter::EmptyOutputBuffer(j_compress_ptr cinfo) {
    CRasterJpegFileAdapter& a = Of(cinfo);
    if (a.file_.Write(a.buffer_.data(), 1, kBufferSize) != kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    a.destination_.next_output_byte = a.buffer_.data();
    a.destination_.free_in_buffer = kBufferSize;
    return TRUE;
}

void CRasterJpegFileAdapter::TermDestination(j_compress_ptr cinfo) {
    CRasterJpegFileAdapter& a = Of(cinfo);
    const std::size_t count = kBufferSize - a.destination_.free_in_buffer;
    if (count > 0 && a.file_.Write(a.buffer_.data(), 1, count) != count)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!a.file_.Flush() || a.file_.Error() != 0)
        ERREXIT(cinfo, JERR_FILE_WRITE);
}
