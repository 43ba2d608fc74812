#include "image/codecs/CRasterJPG.h"

#include "image/codecs/CRasterExifReader.h"
#include "image/codecs/CRasterJpegFileAdapter.h"
#include "image/core/CRasterFile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <new>
#include <string>

#include <jerror.h>

// libjpeg reports errors through the error exit, which jumps back to the function that set
// the jump up (ReadPicture, WritePicture). Nothing between that function and libjpeg holds
// an object with a destructor: every buffer lives in the state structs, built before it.

namespace {

constexpr DWORD kLargestMarker = 65533; // payload bytes one JPEG section can hold

struct ErrorManager : jpeg_error_mgr {
    std::jmp_buf jump;
    CRaster* image = nullptr;
    // The refusal when libjpeg's arrays would pass what the budget leaves them.
    std::string tooLarge = "JPEG needs more memory than allowed for one picture";
    // libjpeg's first warning (a scan cut short, corrupt data), formatted when it came.
    char warning[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void Abort(j_common_ptr cinfo, const char* text) {
    auto* err = static_cast<ErrorManager*>(cinfo->err);
    err->image->SetLastError(text);
    std::longjmp(err->jump, 1);
}

void OnError(j_common_ptr cinfo) {
    auto* err = static_cast<ErrorManager*>(cinfo->err);
    // libjpeg asks for backing store when its arrays would pass max_memory_to_use.
    if (err->msg_code == JERR_NO_BACKING_STORE)
        Abort(cinfo, err->tooLarge.c_str());
    if (err->msg_code == JERR_OUT_OF_MEMORY)
        Abort(cinfo, kPictureOutOfMemory);
    char text[JMSG_LENGTH_MAX];
    (*err->format_message)(cinfo, text);
    Abort(cinfo, text);
}

// Trace messages stay quiet. The first warning is kept for the caller once the picture is
// read, as djpeg writes the picture and says what was wrong with it.
void OnMessage(j_common_ptr cinfo, int level) {
    auto* err = static_cast<ErrorManager*>(cinfo->err);
    if (level >= 0)
        return;
    if (err->num_warnings++ == 0)
        (*err->format_message)(cinfo, err->warning);
}

// Called by libjpeg as it works through the file, also while it reads every scan of a
// progressive file before the first row comes out: the place to stop a long decode.
void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > CRasterJPG::kMaxScans)
        Abort(cinfo, "Too many scans in JPEG");
    auto* err = static_cast<ErrorManager*>(cinfo->err);
    if (err->image->StopRequested())
        Abort(cinfo, CRaster::kCancelled);
}

void SetUpErrors(ErrorManager& err, CRaster* image) {
    jpeg_std_error(&err);
    err.error_exit = OnError;
    err.emit_message = OnMessage;
    err.image = image;
}

LONG ToDpi(double dpi) {
    return static_cast<LONG>(std::clamp(std::floor(dpi + 0.5), 0.0, 1e6));
}

} // namespace

struct CRasterJPG::DecodeState {
    DecodeState(CRasterFile& file, const DecodeOptions& decode) : adapter(file), options(decode) {}
    ~DecodeState() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    CRasterJpegFileAdapter adapter;
    ErrorManager error;
    jpeg_progress_mgr progress{};
    jpeg_decompress_struct cinfo{};
    bool created = false;
    bool cmyk = false;
    const DecodeOptions& options;
    std::vector<BYTE> row; // CMYK rows before conversion
};

struct CRasterJPG::EncodeState {
    explicit EncodeState(CRasterFile& file) : adapter(file) {}
    ~EncodeState() {
        if (created)
            jpeg_destroy_compress(&cinfo);
    }
    CRasterJpegFileAdapter adapter;
    ErrorManager error;
    jpeg_compress_struct cinfo{};
    bool created = false;
    bool grey = false;
    std::vector<BYTE> row; // grey rows widened through the palette
    BYTE lookup[256] = {};
};

CRasterJPG::CRasterJPG() : CRasterCodec(kTypeJpg) {}

CRasterJPG::~CRasterJPG() = default;

// ---- reading ------------------------------------------------------------------------------

bool CRasterJPG::Decode(CRasterFile& file, const DecodeOptions& options) {
    // No C++ exception may cross libjpeg's frames; what our own buffers cannot get ends here.
    try {
        ReadExif(file);
        DecodeState s(file, options);
        SetUpErrors(s.error, this);
        if (!ReadPicture(s))
            return false;
        if (s.error.num_warnings > 0)
            SetLastError(s.error.warning);
        return true;
    } catch (const std::bad_alloc&) {
        return Fail(kPictureOutOfMemory);
    }
}

// The camera block comes first, read by our own reader; the stream then goes back to where
// the picture starts. A bad block only means the picture has no EXIF information.
void CRasterJPG::ReadExif(CRasterFile& file) {
    const LONG start = file.Tell();
    exif_ = CRasterExifInfo{};
    exifReader_ = std::make_unique<CRasterExifReader>(exif_);
    exifReader_->ReadJpegSections(file);
    file.Seek(start, 0);
    Info().jpegExif.clear();
    Info().jpegComment.clear();
    if (!exif_.isExif)
        return;
    exifReader_->DiscardAllButExif();
    if (const auto* app1 = exifReader_->FindSection(JPEG_APP0 + 1))
        Info().jpegExif = app1->data;
    if (const auto* com = exifReader_->FindSection(JPEG_COM))
        Info().jpegComment = com->data;
}

bool CRasterJPG::ReadPicture(DecodeState& s) {
    if (setjmp(s.error.jump))
        return false;
    return ReadSteps(s);
}

bool CRasterJPG::ReadSteps(DecodeState& s) {
    jpeg_decompress_struct& cinfo = s.cinfo;
    cinfo.err = &s.error;
    jpeg_create_decompress(&cinfo);
    s.created = true;
    s.progress.progress_monitor = OnProgress;
    cinfo.progress = &s.progress;
    s.adapter.AttachSource(&cinfo);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return Fail("JPEG holds no picture");
    ApplyDecodeOptions(s);
    if (HeaderOnly()) {
        jpeg_calc_output_dimensions(&cinfo);
        const DWORD bpp = 8 * static_cast<DWORD>(cinfo.output_components);
        SetHeaderOnly(cinfo.output_width, cinfo.output_height, std::min<DWORD>(bpp, 24));
        return true;
    }
    // The scale is settled before libjpeg allocates anything for the picture.
    if (!FitBudget(s))
        return false;
    const DWORD bpp = 8 * static_cast<DWORD>(cinfo.output_components);
    if (!CreateForOverwrite(cinfo.output_width, cinfo.output_height, std::min<DWORD>(bpp, 24),
                            kTypeJpg))
        return false;
    jpeg_start_decompress(&cinfo);
    ReadResolution(s);
    ReadPalette(s);
    if (!ReadRows(s))
        return false;
    jpeg_finish_decompress(&cinfo);
    return true;
}

// What the decode holds at its peak at the output size libjpeg has computed: the picture,
// every coefficient of a file of several scans (kept until its last scan, whatever the
// scale), the whole picture again for two-pass quantisation, and libjpeg's row buffers.
std::uint64_t CRasterJPG::PeakBytes(const DecodeState& s) {
    const jpeg_decompress_struct& cinfo = s.cinfo;
    const std::uint64_t width = cinfo.output_width;
    const std::uint64_t height = cinfo.output_height;
    const std::uint64_t components = std::uint64_t(std::max(cinfo.output_components, 1));
    const std::uint64_t bpp = std::min<std::uint64_t>(8 * components, 24);
    std::uint64_t bytes = (width * bpp + 31) / 32 * 4 * height;
    if (s.cmyk)
        bytes += width * 4;
    const bool severalScans = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    int tallest = 1;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const std::uint64_t h = std::max(comp.h_samp_factor, 1);
        const std::uint64_t v = std::max(comp.v_samp_factor, 1);
        const std::uint64_t across = (comp.width_in_blocks + h - 1) / h * h;
        if (severalScans)
            bytes += across * ((comp.height_in_blocks + v - 1) / v * v) * sizeof(JBLOCK);
        // Context rows of the main buffer and the upsampler, at most a few block rows each.
        bytes += across * DCTSIZE * v * DCTSIZE * 4;
        tallest = std::max(tallest, comp.v_samp_factor);
    }
    bytes += width * components * std::uint64_t(tallest) * DCTSIZE * 4;
    if (cinfo.quantize_colors && cinfo.two_pass_quantize)
        bytes += width * height * 3 + (std::uint64_t{1} << 17);
    return bytes;
}

// The largest scale of eighths no larger than the one asked for whose decode fits the budget;
// libjpeg's own memory is held to what the picture leaves of the budget.
bool CRasterJPG::FitBudget(DecodeState& s) {
    jpeg_decompress_struct& cinfo = s.cinfo;
    jpeg_calc_output_dimensions(&cinfo);
    const std::uint64_t full = PeakBytes(s);
    const std::uint64_t budget = s.options.budget;
    // libjpeg decodes at the least number of eighths not below the scale asked for.
    const unsigned denom = std::max(cinfo.scale_denom, 1u);
    const unsigned asked = (cinfo.scale_num * DCTSIZE + denom - 1) / denom;
    for (unsigned eighths = std::clamp(asked, 1u, unsigned(DCTSIZE)); eighths >= 1; --eighths) {
        if (eighths < asked) {
            cinfo.scale_num = eighths;
            cinfo.scale_denom = DCTSIZE;
        }
        jpeg_calc_output_dimensions(&cinfo);
        const std::uint64_t peak = eighths < asked ? PeakBytes(s) : full;
        if (!s.options.Allows(peak))
            continue;
        const std::uint64_t bpp = std::min(8u * unsigned(cinfo.output_components), 24u);
        const std::uint64_t picture =
            (cinfo.output_width * bpp + 31) / 32 * 4 * cinfo.output_height;
        cinfo.mem->max_memory_to_use = long(
            std::min<std::uint64_t>(budget - std::min(budget, picture), std::uint64_t{LONG_MAX}));
        return true;
    }
    s.error.tooLarge =
        PictureTooLargeMessage("JPEG", cinfo.image_width, cinfo.image_height, full, budget);
    return Fail(s.error.tooLarge);
}

void CRasterJPG::ApplyDecodeOptions(DecodeState& s) {
    jpeg_decompress_struct& cinfo = s.cinfo;
    const DWORD options = GetCodecOption(kTypeJpg);
    // A scale byte of 0 means full size, as 1 does.
    cinfo.scale_num = 1;
    cinfo.scale_denom = std::max<unsigned>(GetJpegScale(), 1);
    if (options & kDecodeGrey)
        cinfo.out_color_space = JCS_GRAYSCALE;
    if (options & kQuantize) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = GetJpegQuality();
    }
    if (options & kDither)
        cinfo.dither_mode = static_cast<J_DITHER_MODE>(std::clamp(dither_, 0, 2));
    if (options & kOnePass)
        cinfo.two_pass_quantize = FALSE;
    if (options & kNoFancyUpsample)
        cinfo.do_fancy_upsampling = FALSE;
    // Colour rows come straight in the picture's blue, green, red order.
    if (cinfo.out_color_space == JCS_RGB && !cinfo.quantize_colors)
        cinfo.out_color_space = JCS_EXT_BGR;
    s.cmyk = cinfo.out_color_space == JCS_CMYK && !cinfo.quantize_colors;
}

void CRasterJPG::ReadResolution(const DecodeState& s) {
    if (exif_.isExif) {
        if (exif_.xResolution != 0 && exif_.resolutionUnit != 0)
            SetXDpi(ToDpi(exif_.xResolution / exif_.resolutionUnit));
        if (exif_.yResolution != 0 && exif_.resolutionUnit != 0)
            SetYDpi(ToDpi(exif_.yResolution / exif_.resolutionUnit));
        return;
    }
    const jpeg_decompress_struct& cinfo = s.cinfo;
    const double x = cinfo.X_density;
    const double y = cinfo.Y_density;
    switch (cinfo.density_unit) {
    case 2: // dots per centimetre
        SetXDpi(ToDpi(x * 2.54));
        SetYDpi(ToDpi(y * 2.54));
        break;
    case 1:
        SetXDpi(ToDpi(x));
        SetYDpi(ToDpi(y));
        break;
    case 0: // only the pixels' aspect
        if (x > 0 && y > 0)
            SetYDpi(ToDpi(std::floor(GetXDpi() * y / x)));
        break;
    default:
        break;
    }
}

void CRasterJPG::ReadPalette(const DecodeState& s) {
    const jpeg_decompress_struct& cinfo = s.cinfo;
    if (cinfo.quantize_colors) {
        const int n = std::min(cinfo.actual_number_of_colors, 256);
        for (int i = 0; i < n; ++i) {
            if (cinfo.out_color_components >= 3)
                SetPaletteColor(i, cinfo.colormap[0][i], cinfo.colormap[1][i],
                                cinfo.colormap[2][i]);
            else
                SetPaletteColor(i, cinfo.colormap[0][i], cinfo.colormap[0][i],
                                cinfo.colormap[0][i]);
        }
        SetClrImportant(n);
    } else if (cinfo.out_color_space == JCS_GRAYSCALE) {
        SetGrayPalette();
    }
}

bool CRasterJPG::ReadRows(DecodeState& s) {
    jpeg_decompress_struct& cinfo = s.cinfo;
    const DWORD height = cinfo.output_height;
    const DWORD width = cinfo.output_width;
    if (s.cmyk)
        s.row.resize(std::size_t{width} * 4);
    constexpr DWORD kBatch = 8;
    JSAMPROW rows[kBatch];
    while (cinfo.output_scanline < height) {
        if (Cancelled())
            return false;
        const DWORD top = cinfo.output_scanline;
        DWORD want = std::min(kBatch, height - top);
        if (s.cmyk) {
            want = 1;
            rows[0] = s.row.data();
        } else {
            for (DWORD i = 0; i < want; ++i)
                rows[i] = GetBits(height - 1 - top - i);
        }
        if (jpeg_read_scanlines(&cinfo, rows, want) == 0)
            return Fail("JPEG data ended early");
        if (s.cmyk) {
            // Inverted CMYK, as Adobe writes it.
            const BYTE* in = s.row.data();
            BYTE* out = GetBits(height - 1 - top);
            for (DWORD x = 0; x < width; ++x, in += 4, out += 3) {
                out[0] = static_cast<BYTE>(in[2] * in[3] / 255);
                out[1] = static_cast<BYTE>(in[1] * in[3] / 255);
                out[2] = static_cast<BYTE>(in[0] * in[3] / 255);
            }
        }
        SetProgress(top, height);
    }
    return true;
}

// ---- writing ------------------------------------------------------------------------------

// 8-bit grey pictures must hold the identity ramp; 1- and 4-bit grey pictures are widened.
bool CRasterJPG::IsGreyPalette() const {
    if (GetBpp() == 8)
        return IsGrayScale();
    for (DWORD i = 0; i < GetNumColors(); ++i) {
        const RGBQUAD c = GetPaletteColor(i);
        if (c.rgbRed != c.rgbGreen || c.rgbGreen != c.rgbBlue)
            return false;
    }
    return true;
}

bool CRasterJPG::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (IsIndexed() && !IsGreyPalette())
        return Fail("JPEG can save only RGB or GreyScale images");
    EncodeState s(file);
    SetUpErrors(s.error, this);
    s.grey = IsIndexed();
    if (s.grey && GetBpp() != 8) {
        s.row.resize(GetWidth());
        for (DWORD i = 0; i < GetNumColors(); ++i)
            s.lookup[i] = GetPaletteColor(i).rgbRed;
    }
    return WritePicture(s);
}

bool CRasterJPG::WritePicture(EncodeState& s) {
    if (setjmp(s.error.jump))
        return false;
    return WriteSteps(s);
}

bool CRasterJPG::WriteSteps(EncodeState& s) {
    jpeg_compress_struct& cinfo = s.cinfo;
    cinfo.err = &s.error;
    jpeg_create_compress(&cinfo);
    s.created = true;
    s.adapter.AttachDestination(&cinfo);
    cinfo.image_width = GetWidth();
    cinfo.image_height = GetHeight();
    cinfo.input_components = s.grey ? 1 : 3;
    cinfo.in_color_space = s.grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    ApplyEncodeOptions(s);
    jpeg_start_compress(&cinfo, TRUE);
    WriteKeptSections(s);
    WriteRows(s);
    jpeg_finish_compress(&cinfo);
    return true;
}

void CRasterJPG::ApplyEncodeOptions(EncodeState& s) {
    jpeg_compress_struct& cinfo = s.cinfo;
    const DWORD options = GetCodecOption(kTypeJpg);
    if (options & kEncodeGrey)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options & kArithmetic)
        cinfo.arith_code = TRUE;
    if (options & kOptimize)
        cinfo.optimize_coding = TRUE;
    if (options & kSmoothing)
        cinfo.smoothing_factor = std::clamp(smoothing_, 0, 100);
    jpeg_set_quality(&cinfo, GetJpegQuality(), (options & kBaseline) ? TRUE : FALSE);
    int h = 2;
    int v = 2;
    if (options & kSampling2x1)
        v = 1;
    if (options & kSampling1x1)
        h = v = 1;
    cinfo.comp_info[0].h_samp_factor = cinfo.num_components > 1 ? h : 1;
    cinfo.comp_info[0].v_samp_factor = cinfo.num_components > 1 ? v : 1;
    for (int c = 1; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (options & kProgressive)
        jpeg_simple_progression(&cinfo);
    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(std::clamp<LONG>(GetXDpi(), 1, 65535));
    cinfo.Y_density = static_cast<UINT16>(std::clamp<LONG>(GetYDpi(), 1, 65535));
    // With a camera block the file starts with it, as camera files do, instead of JFIF.
    if (!Info().jpegExif.empty() && Info().jpegExif.size() <= kLargestMarker)
        cinfo.write_JFIF_header = FALSE;
}

void CRasterJPG::WriteKeptSections(EncodeState& s) {
    const std::vector<BYTE>& exif = Info().jpegExif;
    const std::vector<BYTE>& comment = Info().jpegComment;
    if (exif.empty() || exif.size() > kLargestMarker)
        return;
    jpeg_write_marker(&s.cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    if (!comment.empty() && comment.size() <= kLargestMarker)
        jpeg_write_marker(&s.cinfo, JPEG_COM, comment.data(),
                          static_cast<unsigned>(comment.size()));
}

void CRasterJPG::WriteRows(EncodeState& s) {
    const DWORD height = GetHeight();
    const DWORD width = GetWidth();
    const int bpp = GetBpp();
    while (s.cinfo.next_scanline < height) {
        const DWORD top = s.cinfo.next_scanline;
        BYTE* in = GetBits(height - 1 - top);
        JSAMPROW row = in;
        if (!s.row.empty()) {
            for (DWORD x = 0; x < width; ++x) {
                const BYTE index = bpp == 1  ? (in[x >> 3] >> (7 - (x & 7))) & 1
                                   : (x & 1) ? in[x >> 1] & 0x0F
                                             : in[x >> 1] >> 4;
                s.row[x] = s.lookup[index];
            }
            row = s.row.data();
        }
        jpeg_write_scanlines(&s.cinfo, &row, 1);
        SetProgress(top, height);
    }
}
