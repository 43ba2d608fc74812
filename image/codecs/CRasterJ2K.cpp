#include "image/codecs/CRasterJ2K.h"

#include "image/core/CRasterFile.h"
#include "image/core/RowPack.h"
#include "image/core/SampleScale.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr OPJ_SIZE_T kChunk = 1 << 20;
constexpr OPJ_UINT32 kMaxComponents = 64;
// Starting threads costs more than small pictures take to code.
constexpr std::uint64_t kThreadedBytes = 256 * 1024;
constexpr std::uint64_t kThreadedPixels = 1024 * 1024;
constexpr const char* kLoadError = "error: cannot load image data";
constexpr const char* kEncodeError = "error: cannot encode image";

struct CodecDeleter {
    void operator()(opj_codec_t* c) const { opj_destroy_codec(c); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* s) const { opj_stream_destroy(s); }
};
struct ImageDeleter {
    void operator()(opj_image_t* i) const { opj_image_destroy(i); }
};
using CodecPtr = std::unique_ptr<opj_codec_t, CodecDeleter>;
using StreamPtr = std::unique_ptr<opj_stream_t, StreamDeleter>;
using ImagePtr = std::unique_ptr<opj_image_t, ImageDeleter>;

// The stream as OpenJPEG sees it starts where the picture starts in the file.
struct StreamPlace {
    CRasterFile* file;
    LONG base;
    std::uint64_t bytes = 0;  // from the base to the end of the file
    CRaster* image = nullptr; // whose stop signal ends reading
};

OPJ_SIZE_T OnRead(void* buffer, OPJ_SIZE_T n, void* user) {
    auto* place = static_cast<StreamPlace*>(user);
    // OpenJPEG reads tile by tile as it decodes; a stopped decode sees the file end there.
    if (place->image != nullptr && place->image->StopRequested())
        return static_cast<OPJ_SIZE_T>(-1);
    const std::size_t got = place->file->Read(buffer, 1, n);
    return got == 0 ? static_cast<OPJ_SIZE_T>(-1) : got;
}

OPJ_SIZE_T OnWrite(void* buffer, OPJ_SIZE_T n, void* user) {
    return static_cast<StreamPlace*>(user)->file->Write(buffer, 1, n);
}

OPJ_BOOL OnSeek(OPJ_OFF_T offset, void* user) {
    auto* place = static_cast<StreamPlace*>(user);
    const long long target = static_cast<long long>(place->base) + offset;
    if (offset < 0 || target > place->file->Size())
        return OPJ_FALSE;
    return place->file->Seek(static_cast<LONG>(target), 0) ? OPJ_TRUE : OPJ_FALSE;
}

OPJ_OFF_T OnSkipRead(OPJ_OFF_T n, void* user) {
    auto* place = static_cast<StreamPlace*>(user);
    const long long pos = place->file->Tell();
    if (n < 0 || pos < 0 || pos + n > place->file->Size())
        return -1;
    return place->file->Seek(static_cast<LONG>(pos + n), 0) ? n : -1;
}

// The encoder skips ahead only to leave room for lengths it writes later.
OPJ_OFF_T OnSkipWrite(OPJ_OFF_T n, void* user) {
    auto* place = static_cast<StreamPlace*>(user);
    static const BYTE zeros[4096] = {};
    for (OPJ_OFF_T left = n; left > 0;) {
        const std::size_t part = std::size_t(std::min<OPJ_OFF_T>(left, sizeof zeros));
        if (place->file->Write(zeros, 1, part) != part)
            return -1;
        left -= OPJ_OFF_T(part);
    }
    return n;
}

bool IsAllocationFailure(const std::string& text) {
    for (const char* word : {"memory", "Memory", "allocat", "system limits"})
        if (text.find(word) != std::string::npos)
            return true;
    return false;
}

void OnError(const char* message, void* user) {
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    // OpenJPEG says so in many words when an allocation fails; the program says it in one.
    // The failures that follow from it ("Failed to decode tile") do not hide it.
    auto* image = static_cast<CRaster*>(user);
    if (IsAllocationFailure(text))
        text = kPictureOutOfMemory;
    else if (std::strcmp(image->GetLastError(), kPictureOutOfMemory) == 0)
        return;
    image->SetLastError(text.c_str());
}

void OnQuiet(const char*, void*) {}

void SetHandlers(opj_codec_t* codec, CRaster* image) {
    opj_set_error_handler(codec, OnError, image);
    opj_set_warning_handler(codec, OnQuiet, nullptr);
    opj_set_info_handler(codec, OnQuiet, nullptr);
}

// Component size from the picture's area, as the decoder will make it with `reduce`
// resolution levels left out.
void ComponentSize(const opj_image_t& image, OPJ_UINT32 i, std::uint64_t& w, std::uint64_t& h,
                   OPJ_UINT32 reduce) {
    const opj_image_comp_t& c = image.comps[i];
    const std::uint64_t dx = std::uint64_t{std::max<OPJ_UINT32>(c.dx, 1)} << reduce;
    const std::uint64_t dy = std::uint64_t{std::max<OPJ_UINT32>(c.dy, 1)} << reduce;
    auto up = [](std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; };
    w = up(image.x1, dx) - std::min(up(image.x1, dx), up(image.x0, dx));
    h = up(image.y1, dy) - std::min(up(image.y1, dy), up(image.y0, dy));
}

std::uint64_t Be(const BYTE* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | p[i];
    return v;
}

// Channels a JP2 palette makes of its indexed component, 0 without one: OpenJPEG gives each
// the full size of that component once the picture is decoded. The boxes before the code
// stream are walked from `base`, where the stream is left again.
unsigned PaletteChannels(CRasterFile& file, LONG base) {
    constexpr std::uint64_t kHeader = 0x6A703268;  // "jp2h"
    constexpr std::uint64_t kStream = 0x6A703263;  // "jp2c"
    constexpr std::uint64_t kPalette = 0x70636C72; // "pclr"
    unsigned channels = 0;
    std::uint64_t at = std::uint64_t(base);
    std::uint64_t limit = std::uint64_t(std::max<LONG>(file.Size(), base));
    bool inHeader = false;
    for (int boxes = 0; boxes < 256 && at + 8 <= limit; ++boxes) {
        BYTE head[16];
        if (!file.Seek(LONG(at), 0) || file.Read(head, 1, 8) != 8)
            break;
        std::uint64_t length = Be(head, 4);
        const std::uint64_t type = Be(head + 4, 4);
        std::uint64_t headSize = 8;
        if (length == 1) {
            if (file.Read(head + 8, 1, 8) != 8)
                break;
            length = Be(head + 8, 8);
            headSize = 16;
        } else if (length == 0) {
            length = limit - at;
        }
        if (length < headSize || length > limit - at || type == kStream)
            break;
        if (type == kHeader && !inHeader) {
            inHeader = true;
            limit = at + length;
            at += headSize;
            continue;
        }
        if (inHeader && type == kPalette) {
            BYTE entries[3];
            if (file.Read(entries, 1, 3) == 3)
                channels = entries[2];
            break;
        }
        at += length;
    }
    file.Seek(base, 0);
    return channels;
}

bool SameGeometry(const opj_image_comp_t& a, const opj_image_comp_t& b) {
    return a.dx == b.dx && a.dy == b.dy && a.w == b.w && a.h == b.h;
}

BYTE Clamp255(int v) {
    return static_cast<BYTE>(std::clamp(v, 0, 255));
}

} // namespace

struct CRasterJ2K::Layout {
    std::vector<OPJ_UINT32> colour; // components carrying colour or grey
    int alpha = -1;                 // the opacity component, if any
    bool sycc = false;
    bool rgb = false; // one 24-bit picture rather than frames
};

bool CRasterJ2K::Decode(CRasterFile& file, const DecodeOptions& options) {
    // OpenJPEG reports its own allocation failures; ours must not leave this call either.
    try {
        return DecodeStream(file, options);
    } catch (const std::bad_alloc&) {
        return Fail(kPictureOutOfMemory);
    }
}

bool CRasterJ2K::DecodeStream(CRasterFile& file, const DecodeOptions& options) {
    StreamPlace place{&file, file.Tell(), BytesLeft(file), this};
    const bool jp2 = format_ == kTypeJp2;
    const unsigned paletteChannels = jp2 ? PaletteChannels(file, place.base) : 0;
    CodecPtr codec(opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec)
        return Fail(kLoadError);
    SetHandlers(codec.get(), this);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters))
        return Fail(kLoadError);
    if (BytesLeft(file) >= kThreadedBytes)
        opj_codec_set_threads(codec.get(), std::max(1, opj_get_num_cpus()));
    StreamPtr stream(opj_stream_create(kChunk, OPJ_TRUE));
    if (!stream)
        return Fail(kLoadError);
    opj_stream_set_user_data(stream.get(), &place, nullptr);
    opj_stream_set_user_data_length(stream.get(), BytesLeft(file));
    opj_stream_set_read_function(stream.get(), OnRead);
    opj_stream_set_skip_function(stream.get(), OnSkipRead);
    opj_stream_set_seek_function(stream.get(), OnSeek);

    opj_image_t* raw = nullptr;
    const bool headerRead = opj_read_header(stream.get(), codec.get(), &raw);
    ImagePtr image(raw);
    if (!headerRead || !image)
        return StopRequested() ? Fail(kCancelled) : FailKeeping(kLoadError);
    if (image->numcomps > kMaxComponents)
        return Fail("error: too many components");
    if (image->numcomps == 0 || image->x1 <= image->x0 || image->y1 <= image->y0)
        return Fail(kLoadError);
    if (!CheckSizes(*image))
        return false;
    if (HeaderOnly())
        return true;
    OPJ_UINT32 reduce = 0;
    if (!FitBudget(codec.get(), *image, options, paletteChannels, reduce))
        return false;
    if (reduce > 0 && !opj_set_decoded_resolution_factor(codec.get(), reduce))
        return FailKeeping(kLoadError);
    if (!opj_decode(codec.get(), stream.get(), image.get()) ||
        !opj_end_decompress(codec.get(), stream.get()))
        return StopRequested() ? Fail(kCancelled) : FailKeeping(kLoadError);
    for (OPJ_UINT32 i = 0; i < image->numcomps; ++i) {
        if (image->comps[i].data == nullptr || image->comps[i].w == 0 || image->comps[i].h == 0)
            return Fail(kLoadError);
    }
    // Opacity channels are marked only once the file's channel definitions are applied.
    Layout layout;
    if (!Plan(*image, layout))
        return false;
    return layout.rgb ? PlaceColour(*image, layout) : PlaceFrame(*image, layout);
}

// Every component's geometry, before anything is decoded.
bool CRasterJ2K::CheckSizes(const opj_image_t& image) {
    for (OPJ_UINT32 i = 0; i < image.numcomps; ++i) {
        const opj_image_comp_t& c = image.comps[i];
        if (c.dx == 0 || c.dy == 0 || c.prec == 0 || c.prec > 38)
            return Fail(kLoadError);
        std::uint64_t w = 0, h = 0;
        ComponentSize(image, i, w, h, 0);
        if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
            return Fail(kLoadError);
    }
    const DWORD bpp = image.numcomps >= 3 ? 24 : 8;
    Info().numFrames = image.numcomps >= 3 ? 1 : LONG(image.numcomps);
    if (HeaderOnly()) {
        std::uint64_t w = 0, h = 0;
        ComponentSize(image, 0, w, h, 0);
        SetHeaderOnly(DWORD(w), DWORD(h), bpp);
    }
    return true;
}

// What the decode holds at its peak with `reduce` resolution levels left out: OpenJPEG keeps
// every sample of every component as 4 bytes, and a picture cut into tiles one tile's samples
// besides (a single tile is handed over whole); then our picture and its opacity plane.
std::uint64_t CRasterJ2K::PeakBytes(const opj_image_t& image, const Shape& shape,
                                    OPJ_UINT32 reduce) {
    std::uint64_t samples = 0;
    std::uint64_t tileSamples = 0;
    std::uint64_t widest = 0, tallest = 0;
    for (OPJ_UINT32 i = 0; i < image.numcomps; ++i) {
        std::uint64_t w = 0, h = 0;
        ComponentSize(image, i, w, h, reduce);
        samples += w * h;
        widest = std::max(widest, w);
        tallest = std::max(tallest, h);
        const opj_image_comp_t& c = image.comps[i];
        const std::uint64_t tw = std::min<std::uint64_t>(
            w, (std::uint64_t{shape.tileWidth} + (std::uint64_t{c.dx} << reduce) - 1) /
                       (std::uint64_t{c.dx} << reduce) +
                   1);
        const std::uint64_t th = std::min<std::uint64_t>(
            h, (std::uint64_t{shape.tileHeight} + (std::uint64_t{c.dy} << reduce) - 1) /
                       (std::uint64_t{c.dy} << reduce) +
                   1);
        tileSamples += tw * th;
    }
    std::uint64_t bytes = samples * 4;
    if (shape.paletteChannels > 0) {
        std::uint64_t w = 0, h = 0;
        ComponentSize(image, 0, w, h, reduce);
        bytes += w * h * 4 * shape.paletteChannels;
    }
    if (!shape.singleTile)
        bytes += tileSamples * 4;
    // The picture: 24-bit or grey, with an opacity plane at most.
    bytes += ((widest * 24 + 31) / 32 * 4 + widest) * tallest;
    // Code-block and precinct records, kept for every resolution even when some are left out
    // (about 160 bytes a block of 64 x 64), and the threads' block buffers.
    std::uint64_t fullSamples = 0;
    for (OPJ_UINT32 i = 0; i < image.numcomps; ++i) {
        std::uint64_t w = 0, h = 0;
        ComponentSize(image, i, w, h, 0);
        fullSamples += w * h;
    }
    bytes += fullSamples / 16 + (std::uint64_t{8} << 20);
    return bytes;
}

// The fewest resolution levels left out that bring the decode within the budget; the file's
// levels limit how far it can be reduced.
bool CRasterJ2K::FitBudget(opj_codec_t* codec, const opj_image_t& image,
                           const DecodeOptions& options, unsigned paletteChannels,
                           OPJ_UINT32& reduce) {
    opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
    if (info == nullptr)
        return FailKeeping(kLoadError);
    Shape shape;
    shape.paletteChannels = paletteChannels;
    shape.tileWidth = info->tdx;
    shape.tileHeight = info->tdy;
    shape.singleTile = info->tw == 1 && info->th == 1 && info->tx0 == 0 && info->ty0 == 0 &&
                       image.x0 == 0 && image.y0 == 0 && image.x1 == info->tdx &&
                       image.y1 == info->tdy;
    OPJ_UINT32 levels = 1;
    if (info->m_default_tile_info.tccp_info != nullptr) {
        levels = 33;
        for (OPJ_UINT32 i = 0; i < info->nbcomps; ++i)
            levels = std::min(levels, info->m_default_tile_info.tccp_info[i].numresolutions);
    }
    opj_destroy_cstr_info(&info);
    const std::uint64_t full = PeakBytes(image, shape, 0);
    for (reduce = 0; reduce < std::max<OPJ_UINT32>(levels, 1); ++reduce) {
        if (options.Allows(reduce == 0 ? full : PeakBytes(image, shape, reduce)))
            return true;
    }
    std::uint64_t w = 0, h = 0;
    ComponentSize(image, 0, w, h, 0);
    return Fail(PictureTooLargeMessage(format_ == kTypeJp2 ? "JP2" : "JPEG 2000", w, h, full,
                                       options.budget));
}

// Decides what the decoded components become.
bool CRasterJ2K::Plan(const opj_image_t& image, Layout& layout) {
    for (OPJ_UINT32 i = 0; i < image.numcomps; ++i) {
        if (image.comps[i].alpha != 0 && layout.alpha < 0)
            layout.alpha = int(i);
        else
            layout.colour.push_back(i);
    }
    layout.sycc = image.color_space == OPJ_CLRSPC_SYCC && layout.colour.size() == 3;
    const opj_image_comp_t& first = image.comps[layout.colour.empty() ? 0 : layout.colour[0]];
    bool equal = layout.colour.size() == 3 || layout.colour.size() == 1;
    for (OPJ_UINT32 i : layout.colour)
        equal = equal && (layout.sycc || SameGeometry(image.comps[i], first));
    if (layout.alpha >= 0)
        equal = equal && SameGeometry(image.comps[layout.alpha], first);
    // A lone grey component keeps its opacity; otherwise it is one frame among the others.
    layout.rgb = equal && (layout.colour.size() == 3 || layout.alpha >= 0);
    Info().numFrames = layout.rgb ? 1 : LONG(image.numcomps);
    const LONG frame = Info().frame;
    if (!layout.rgb && (frame < 0 || frame >= Info().numFrames))
        return Fail("wrong frame!");
    return true;
}

bool CRasterJ2K::PlaceColour(const opj_image_t& image, const Layout& layout) {
    const opj_image_comp_t& base = image.comps[layout.colour[0]];
    const bool colour = layout.colour.size() == 3;
    if (!Create(base.w, base.h, colour ? 24 : 8, format_))
        return false;
    SetGrayPalette();
    if (layout.alpha >= 0 && !CreateAlpha())
        return Fail("CRaster::Create can't allocate memory");
    std::vector<SampleScale> scales;
    std::vector<const opj_image_comp_t*> comps;
    for (OPJ_UINT32 i : layout.colour)
        comps.push_back(&image.comps[i]);
    if (layout.alpha >= 0)
        comps.push_back(&image.comps[layout.alpha]);
    for (const opj_image_comp_t* c : comps)
        scales.push_back(SampleScale::ForPrecision(int(c->prec), c->sgnd != 0));
    const DWORD width = GetWidth(), height = GetHeight();
    // Column and row of each component for every picture pixel (chroma may be subsampled).
    auto at = [&](std::size_t k, DWORD x, DWORD top) -> std::int64_t {
        const opj_image_comp_t& c = *comps[k];
        const std::uint64_t cx =
            std::min<std::uint64_t>(std::uint64_t{x} * base.dx / c.dx, c.w - 1);
        const std::uint64_t cy =
            std::min<std::uint64_t>(std::uint64_t{top} * base.dy / c.dy, c.h - 1);
        return c.data[cy * c.w + cx];
    };
    for (DWORD top = 0; top < height; ++top) {
        if (Cancelled())
            return false;
        const DWORD y = height - 1 - top;
        BYTE* row = GetBits(y);
        if (!colour) {
            const OPJ_INT32* src = comps[0]->data + std::size_t{top} * comps[0]->w;
            for (DWORD x = 0; x < width; ++x)
                row[x] = scales[0](src[x]);
        } else if (layout.sycc) {
            for (DWORD x = 0; x < width; ++x, row += 3) {
                const int luma = scales[0](at(0, x, top));
                const int cb = scales[1](at(1, x, top)) - 128;
                const int cr = scales[2](at(2, x, top)) - 128;
                row[2] = Clamp255(luma + int(std::lround(1.402 * cr)));
                row[1] = Clamp255(luma - int(std::lround(0.344136 * cb + 0.714136 * cr)));
                row[0] = Clamp255(luma + int(std::lround(1.772 * cb)));
            }
        } else {
            const std::size_t offset = std::size_t{top} * base.w;
            const OPJ_INT32* r = comps[0]->data + offset;
            const OPJ_INT32* g = comps[1]->data + offset;
            const OPJ_INT32* b = comps[2]->data + offset;
            for (DWORD x = 0; x < width; ++x, row += 3) {
                row[0] = scales[2](b[x]);
                row[1] = scales[1](g[x]);
                row[2] = scales[0](r[x]);
            }
        }
        if (layout.alpha >= 0) {
            const std::size_t k = comps.size() - 1;
            const OPJ_INT32* a = comps[k]->data + std::size_t{top} * comps[k]->w;
            BYTE* out = GetAlphaPointer(0, LONG(y));
            for (DWORD x = 0; x < width; ++x)
                out[x] = scales[k](a[x]);
        }
        SetProgress(top, height);
    }
    return true;
}

bool CRasterJ2K::PlaceFrame(const opj_image_t& image, const Layout&) {
    const opj_image_comp_t& c = image.comps[Info().frame];
    if (!Create(c.w, c.h, 8, format_))
        return false;
    SetGrayPalette();
    const SampleScale scale = SampleScale::ForPrecision(int(c.prec), c.sgnd != 0);
    for (DWORD top = 0; top < c.h; ++top) {
        if (Cancelled())
            return false;
        const OPJ_INT32* src = c.data + std::size_t{top} * c.w;
        BYTE* row = GetBits(c.h - 1 - top);
        for (DWORD x = 0; x < c.w; ++x)
            row[x] = scale(src[x]);
        SetProgress(top, c.h);
    }
    return true;
}

bool CRasterJ2K::FailKeeping(const char* fallback) {
    if (GetLastError()[0] == '\0')
        SetLastError(fallback);
    return false;
}

// ---- writing ------------------------------------------------------------------------------

bool CRasterJ2K::FillEncoderImage(opj_image_t& image, int components) {
    const DWORD width = GetWidth(), height = GetHeight();
    std::vector<BYTE> row(std::size_t{width} * 3);
    for (DWORD top = 0; top < height; ++top) {
        const DWORD y = height - 1 - top;
        const std::size_t offset = std::size_t{top} * width;
        if (components == 1) {
            PackGreyRow(*this, y, row.data());
            std::copy(row.begin(), row.begin() + width, image.comps[0].data + offset);
            continue;
        }
        PackRgbRow(*this, y, row.data());
        OPJ_INT32* r = image.comps[0].data + offset;
        OPJ_INT32* g = image.comps[1].data + offset;
        OPJ_INT32* b = image.comps[2].data + offset;
        for (DWORD x = 0; x < width; ++x) {
            r[x] = row[3 * x];
            g[x] = row[3 * x + 1];
            b[x] = row[3 * x + 2];
        }
    }
    return true;
}

bool CRasterJ2K::Encode(CRasterFile& file) {
    const int components = GetBpp() == 24 ? 3 : 1;
    const DWORD width = GetWidth(), height = GetHeight();
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    const double rate = Info().jpegQuality / 100.0;
    parameters.tcp_numlayers = 1;
    parameters.cp_disto_alloc = 1;
    // A rate of one or more keeps every bit: the reversible 5/3 transform in one layer.
    parameters.tcp_rates[0] = rate >= 1.0 ? 0.0f : float(1.0 / std::max(rate, 0.001));
    parameters.irreversible = 0;
    parameters.tcp_mct = components == 3 ? 1 : 0;
    // Every resolution level halves the picture; small pictures have fewer levels.
    while (parameters.numresolution > 1 &&
           (1u << (parameters.numresolution - 1)) > std::min(width, height))
        --parameters.numresolution;

    opj_image_cmptparm_t params[3] = {};
    for (int i = 0; i < components; ++i) {
        params[i].dx = params[i].dy = 1;
        params[i].w = width;
        params[i].h = height;
        params[i].prec = 8;
        params[i].sgnd = 0;
    }
    ImagePtr image(opj_image_create(OPJ_UINT32(components), params,
                                    components == 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY));
    if (!image)
        return Fail("error : jas_image_create");
    image->x0 = image->y0 = 0;
    image->x1 = width;
    image->y1 = height;
    FillEncoderImage(*image, components);

    CodecPtr codec(opj_create_compress(format_ == kTypeJp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec)
        return Fail(kEncodeError);
    SetHandlers(codec.get(), this);
    if (!opj_setup_encoder(codec.get(), &parameters, image.get()))
        return Fail(kEncodeError);
    if (std::uint64_t{width} * height >= kThreadedPixels)
        opj_codec_set_threads(codec.get(), std::max(1, opj_get_num_cpus()));
    StreamPlace place{&file, file.Tell()};
    StreamPtr stream(opj_stream_create(kChunk, OPJ_FALSE));
    if (!stream)
        return Fail(kEncodeError);
    opj_stream_set_user_data(stream.get(), &place, nullptr);
    opj_stream_set_write_function(stream.get(), OnWrite);
    opj_stream_set_skip_function(stream.get(), OnSkipWrite);
    opj_stream_set_seek_function(stream.get(), OnSeek);
    if (!opj_start_compress(codec.get(), image.get(), stream.get()) ||
        !opj_encode(codec.get(), stream.get()) || !opj_end_compress(codec.get(), stream.get()))
        return FailKeeping(kEncodeError);
    if (!file.Flush())
        return Fail(kEncodeError);
    return true;
}
