#pragma once
// CRaster: the one picture type of the program.
//
// Storage: one zero-filled heap block laid out as a packed device-independent bitmap: a
// 40-byte BITMAPINFOHEADER, the palette (2, 16 or 256 four-byte entries blue, green, red,
// fourth byte; none at 24 bits) and the pixel rows. Rows are bottom-up (row 0 is the bottom
// line) and padded to 4 bytes (GetStride). 1-bpp pixels run from bit 7 down, 4-bpp pixels take
// the high nibble for even x, 24-bpp pixels are blue, green, red. Depths are 1, 4, 8 and 24.
// Optional planes of width x height bytes (alpha: 255 opaque; selection: nonzero selected)
// use the same bottom-up row order without padding.
//
// Errors: operations answer false / null / 0 and leave a text in GetLastError(); they never
// throw and never show a message. Long loops write Info().progress per row and stop when
// Info().escape is nonzero; a stopped conversion returns false and leaves the image as it was.
//
// Copies: the copy constructor, operator= and Copy always duplicate pixels and planes. The
// options in Info() travel with a copy; the storage bookkeeping does not. ShareFrom makes a
// read-through view (for a temporary format object encoding this image); a view never frees
// anything and Destroy/Create refuse on it. TakeOver moves a decoder's result in.
//
// Format classes derive from CRaster and read and write Info() (escape flag, frame words,
// codec options) and the pixels through GetBits / GetPalette / the pixel accessors.
#include "image/core/BitmapInfoHeader.h"
#include "image/core/CNearestColorCache.h"
#include "image/core/CRasterInfo.h"
#include "image/core/RgbQuad.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CBitmap;
class CDC;
class CRasterFile;
class CRasterFloatRect;
class CrtRandom;

class CRaster {
public:
    // Format type ids (the dispatcher's table); 0 means none / detect.
    enum Type : DWORD {
        kTypeUnknown = 0,
        kTypeBmp = 1,
        kTypeGif = 2,
        kTypeJpg = 3,
        kTypePng = 4,
        kTypeIco = 5,
        kTypeTif = 6,
        kTypeTga = 7,
        kTypePcx = 8,
        kTypeWbmp = 9,
        kTypeWmf = 10,
        kTypeJp2 = 11,
        kTypeJpc = 12,
        kTypePgx = 13,
        kTypePnm = 14,
        kTypeRas = 15,
    };

    explicit CRaster(DWORD type = 0);
    CRaster(DWORD width, DWORD height, DWORD bpp, DWORD type = 0);
    CRaster(const CRaster& source, bool pixels, bool selection, bool alpha);
    CRaster(const CRaster& source);
    CRaster& operator=(const CRaster& source);
    virtual ~CRaster();

    // ---- storage ------------------------------------------------------------------------
    // Allocates a cleared picture; bpp is raised to 1, 4, 8 or 24. Returns the block or null
    // (zero size, "CRASTER_MAX_MEMORY exceeded" beyond 2^32 pixel bits, no memory, or a view).
    BYTE* Create(DWORD width, DWORD height, DWORD bpp, DWORD type = 0);
    // The same for a caller that writes every pixel itself (decoders, copies): the rows are
    // not cleared first, only the header, the palette and the padding behind each row's last
    // whole pixel byte, so no stale heap bytes can reach a file.
    BYTE* CreateForOverwrite(DWORD width, DWORD height, DWORD bpp, DWORD type = 0);
    // Frees pixels and planes (false, nothing freed, on a view). Options are kept.
    bool Destroy();
    bool DestroyFrames();
    bool Copy(const CRaster& source, bool pixels = true, bool selection = true, bool alpha = true);
    // Moves the source's storage and options in and leaves the source empty. A view as source
    // is copied instead, so no two images ever own the same pixels.
    bool TakeOver(CRaster& source, bool withFrames = true);
    void ShareFrom(const CRaster* source);
    bool IsShared() const { return shared_; }
    // Copies the options only while this image has no block (a decoder's starting state).
    void CopyInfoFrom(const CRaster& other);
    void Clear(BYTE value = 0);
    // Fills this 24-bit image from 16- or 32-bit bit-field rows; `sourceSize` bytes must cover
    // every row (false otherwise).
    bool ConvertBitfields(const BYTE* source, std::size_t sourceSize, DWORD redMask,
                          DWORD greenMask, DWORD blueMask, BYTE depth);

    // ---- reading and writing by format type id (CRasterDispatch.cpp) ----------------------
    // Type 0 detects the format when reading and is refused when writing. Failures leave a
    // text in GetLastError(); a failed decode leaves this image as it was.
    bool Encode(CRasterFile* file, DWORD type);
    bool Decode(CRasterFile* file, DWORD type);
    bool EncodeToFILE(std::FILE* file, DWORD type);
    bool DecodeFromFILE(std::FILE* file, DWORD type);
    // Encodes completely before replacing the file, so a failure leaves an old file intact;
    // the last error is then SaveRefusal's text, naming the file and the reason.
    bool Save(const std::string& name, DWORD type);
    // When `type` fails, detection tries every format; the text of `type` is kept on failure,
    // and the picture is left empty with a frame count of 0.
    bool Load(const std::string& name, DWORD type = kTypeUnknown);
    // `out` must be empty; it receives the encoded bytes.
    bool EncodeToMemory(std::vector<BYTE>& out, DWORD type);
    bool DecodeFromMemory(std::span<const BYTE> data, DWORD type);
    // Picture bytes built into the program.
    bool LoadResource(std::span<const BYTE> resource, DWORD type);
    // What every encoder checks first: true when there is a stream and a picture to write;
    // false, with the reason as the last error, otherwise.
    bool CheckEncodeArgs(const CRasterFile* file);

    // ---- frames (decoded extra frames, owned) --------------------------------------------
    std::size_t GetFrameListSize() const { return frames_.size(); }
    CRaster* GetFrame(std::size_t i) const;
    bool AddFrame(std::unique_ptr<CRaster> frame);

    // ---- header and options ---------------------------------------------------------------
    const BITMAPINFOHEADER& GetHeader() const { return head_; }
    CRasterInfo& Info() { return info_; }
    const CRasterInfo& Info() const { return info_; }

    // Row n of the storage (bottom-up); null beyond the last row or without block.
    BYTE* GetBits(DWORD row = 0);
    const BYTE* GetBits(DWORD row = 0) const;
    std::size_t GetDibSize() const;
    // The whole packed block; writing through it may change the palette, so the non-const
    // form forgets the nearest-colour answers.
    BYTE* GetDib();
    const BYTE* GetDib() const { return dib_.get(); }
    bool IsInside(LONG x, LONG y) const;
    bool IsValid() const { return dib_ != nullptr; }
    bool IsIndexed() const { return head_.biClrUsed != 0; }
    DWORD GetWidth() const { return static_cast<DWORD>(head_.biWidth); }
    DWORD GetHeight() const { return static_cast<DWORD>(head_.biHeight); }
    DWORD GetStride() const { return stride_; }
    WORD GetBpp() const { return head_.biBitCount; }
    DWORD GetNumColors() const { return head_.biClrUsed; }
    DWORD GetClrImportant() const { return head_.biClrImportant; }

    LONG GetTransparentIndex() const { return info_.transparentIndex; }
    bool IsTransparent() const { return info_.transparentIndex >= 0; }
    void SetTransparentIndex(LONG index);
    void SetTransparentColor(RGBQUAD c);
    RGBQUAD GetTransparentColor() const;
    DWORD GetType() const { return info_.type; }
    bool SetType(DWORD type);
    static DWORD GetTypeIndex(DWORD type) { return type < CRasterInfo::kNumTypes ? type : 0; }
    LONG GetXDpi() const { return info_.xDpi; }
    LONG GetYDpi() const { return info_.yDpi; }
    void SetXDpi(LONG dpi);
    void SetYDpi(LONG dpi);
    BYTE GetJpegQuality() const;
    void SetJpegQuality(float quality);
    BYTE GetJpegScale() const { return info_.jpegScale; }
    void SetEscape(LONG escape) { info_.escape = escape; }
    // The text of a long loop that was stopped.
    static constexpr const char* kCancelled = "Cancelled";
    // Whether a long loop must stop: the escape flag is positive or the stop signal asks for
    // it (which then sets the flag).
    bool StopRequested();
    // Whether the last operation failed because it was stopped.
    bool WasCancelled() const { return info_.lastError == kCancelled; }
    LONG GetProgress() const { return info_.progress; }
    LONG GetNumFrames() const { return info_.numFrames; }
    void SetOffset(LONG x, LONG y);
    const char* GetLastError() const { return info_.lastError.c_str(); }
    // Keeps at most 255 characters, as the record's text field did.
    void SetLastError(const char* text);
    DWORD GetCodecOption(DWORD type = 0) const;
    bool SetCodecOption(DWORD option, DWORD type = 0);
    void SetGifByte1(BYTE v) { info_.gifByte1 = v; }
    BYTE GetGifByte1() const { return info_.gifByte1; }
    void SetGifByte2(BYTE v) { info_.gifByte2 = v; }

    // ---- pixels (x from the left, y in storage rows from the bottom) ------------------------
    BYTE GetPixelIndex(LONG x, LONG y) const;
    BYTE BlindGetPixelIndex(LONG x, LONG y) const;
    void SetPixelIndex(LONG x, LONG y, BYTE i);
    void BlindSetPixelIndex(LONG x, LONG y, BYTE i);
    RGBQUAD GetPixelColor(LONG x, LONG y, bool withAlpha = true) const;
    RGBQUAD BlindGetPixelColor(LONG x, LONG y, bool withAlpha = true) const;
    void SetPixelColor(LONG x, LONG y, RGBQUAD c, bool withAlpha = false);
    void BlindSetPixelColor(LONG x, LONG y, RGBQUAD c, bool withAlpha = false);
    void SetPixelColorRef(LONG x, LONG y, COLORREF colour);
    // A 24-bit pixel; null for palette images. No bounds test.
    BYTE* GetPixelPointer(LONG x, LONG y);

    // ---- palette -------------------------------------------------------------------------
    DWORD GetPaletteSize() const { return head_.biClrUsed * RGBQUAD::kSize; }
    // Raw entries (blue, green, red, fourth byte); null without block or palette. Writing
    // through the non-const form is allowed and forgets the nearest-colour answers.
    BYTE* GetPalette();
    const BYTE* GetPalette() const;
    RGBQUAD GetPaletteColor(DWORD i) const;
    bool GetPaletteColorRGB(DWORD i, BYTE& r, BYTE& g, BYTE& b) const;
    void SetPaletteColor(DWORD i, BYTE r, BYTE g, BYTE b, BYTE alpha = 0);
    void SetPaletteColor(DWORD i, RGBQUAD c);
    void SetPalette(const RGBQUAD* entries, DWORD n);
    void SetPaletteRGB(DWORD n, const BYTE* red, const BYTE* green = nullptr,
                       const BYTE* blue = nullptr);
    void SetPaletteTriples(const BYTE* rgbTriples, DWORD n);
    void SetGrayPalette();
    void SetStdPalette();
    bool IsGrayScale() const;
    void SwapIndex(BYTE i, BYTE j);
    void SetClrImportant(DWORD n);
    void RGBtoBGR(BYTE* buffer, DWORD length) const;
    BYTE GetNearestIndex(RGBQUAD c);

    // ---- depth ---------------------------------------------------------------------------
    // To a lower depth (or fewer important colours): nearest palette colours, optionally with
    // error diffusion (7, 2, 4, 1 sixteenths). `palette` null: the standard palette.
    bool DecreaseBpp(DWORD bpp, bool errorDiffusion, const RGBQUAD* palette = nullptr,
                     DWORD importantColors = 0);
    // To 4, 8 or 24 bits; palette alpha and the transparent index become an alpha plane at
    // 24 bits (the index is cleared).
    bool IncreaseBpp(DWORD bpp);

    // ---- alpha plane ---------------------------------------------------------------------
    bool CreateAlpha();
    void DeleteAlpha();
    bool IsAlphaValid() const { return alpha_ != nullptr; }
    void SetAlphaLevel(BYTE level);
    void InvertAlpha();
    void SetAlphaMax(BYTE v) { info_.alphaMax = v; }
    BYTE GetAlphaMax() const { return info_.alphaMax; }
    void EnablePaletteAlpha(bool enable) { info_.paletteAlpha = enable; }
    bool HasPaletteAlpha() const;
    bool CopyAlpha(const CRaster& source);
    bool SetAlphaFromImage(const CRaster& grey);
    void SetAlpha(LONG x, LONG y, BYTE v);
    BYTE GetAlpha(LONG x, LONG y) const;
    BYTE BlindGetAlpha(LONG x, LONG y) const;
    BYTE* GetAlphaPointer(LONG x, LONG y);
    const BYTE* GetAlphaPointer(LONG x, LONG y) const;
    bool FlipAlpha();
    bool MirrorAlpha();

    // ---- selection plane -----------------------------------------------------------------
    bool CreateSelection();
    void DeleteSelection();
    bool IsSelectionValid() const { return selection_ != nullptr; }
    bool IsInsideSelection(LONG x, LONG y) const;
    // Writing a nonzero byte also grows the selection box over that pixel.
    void SetSelectionByte(LONG x, LONG y, BYTE v);
    BYTE BlindGetSelectionByte(LONG x, LONG y) const;
    bool CopySelection(const CRaster& source);
    bool FlipSelection();
    bool MirrorSelection();

    // ---- transforms (CRasterTransform.cpp, CRasterRotate.cpp) -------------------------------
    // Cuts out left..right by top..bottom, where top and bottom count from the top line; the
    // sides are clamped to the picture and may come in either order. The palette, options and
    // alpha plane travel along; the result replaces `destination` or, without one, this image.
    bool Crop(LONG left, LONG top, LONG right, LONG bottom, CRaster* destination = nullptr);
    bool CropRect(const RECT& rect, CRaster* destination = nullptr);
    // Upside down / left to right; the flags take the selection and alpha planes along.
    bool Flip(bool selection = true, bool alpha = true);
    bool Mirror(bool selection = true, bool alpha = true);
    // Quarter turns, counter-clockwise and clockwise, with both planes and the selection box.
    bool RotateLeft(CRaster* destination = nullptr);
    bool RotateRight(CRaster* destination = nullptr);
    // The negative: of the selected pixels only when there is a selection.
    bool InvertColors();

    // ---- sampling at real positions (CRasterSampling.cpp) -----------------------------------
    enum InterpolationMode : int {
        kInterpolateNearest = 1,
        kInterpolateBilinear = 2,
        kInterpolateBSpline = 3,
        kInterpolateBicubic = 4,
        kInterpolateBicubic2 = 5,
        kInterpolateLanczos = 6,
        kInterpolateBox = 7,
        kInterpolateHermite = 8,
        kInterpolateHamming = 9,
        kInterpolateSinc = 10,
        kInterpolateBlackman = 11,
        kInterpolateBessel = 12,
        kInterpolateGaussian = 13,
        kInterpolateQuadratic = 14,
        kInterpolateMitchell = 15,
        kInterpolateCatrom = 16,
        kInterpolateHanning = 17,
        kInterpolatePower = 18,
    };
    // What a position outside the picture yields.
    enum OverflowMethod : int {
        kOverflowColor = 1,       // the replacement colour
        kOverflowBackground = 2,  // the transparent colour, else the replacement
        kOverflowTransparent = 3, // with an alpha plane the replacement with alpha 0, else 2
        kOverflowWrap = 4,        // coordinates modulo the size
        kOverflowRepeat = 5,      // the nearest edge pixel
        kOverflowMirror = 6,      // reflected at the edges
    };
    // Moves a position outside the picture inside for the wrap, repeat and mirror methods;
    // positions inside and other methods are left alone.
    void OverflowCoordinates(LONG& x, LONG& y, int method) const;
    void OverflowCoordinates(float& x, float& y, int method) const;
    // Colour with alpha in the fourth byte (0 without alpha plane, or the palette entry's
    // fourth byte). `replacement` null: white with fourth byte 0.
    RGBQUAD GetPixelColorWithOverflow(LONG x, LONG y, int method,
                                      const RGBQUAD* replacement = nullptr) const;
    // Pixel centres lie at integer positions.
    RGBQUAD GetPixelColorInterpolated(float x, float y, int mode, int method,
                                      const RGBQUAD* replacement = nullptr) const;
    // Average colour of the w x h area centred at (x, y), each pixel weighted by its share.
    RGBQUAD GetAreaColorInterpolated(float x, float y, float w, float h, int mode, int method,
                                     const RGBQUAD* replacement = nullptr) const;

    // ---- filters (CRasterFilter.cpp) -------------------------------------------------------
    // Each reads this picture and writes a full copy (pixels, selection, alpha), visiting the
    // selection box and in it only the selected pixels; the copy replaces the picture once
    // every row is done. False, the picture unchanged, without block, for a window size
    // outside 1..kMaxFilterWindow, when the escape flag stops it or memory runs out.
    static constexpr LONG kMaxFilterWindow = 255;
    // `kernel` holds k x k weights, the first k for the window's lowest storage row; the
    // window of (x, y) starts at (x - k / 2, y - k / 2). Window pixels outside the picture
    // are left out and the sum is rescaled by the weights that remain (not for zero-sum
    // kernels). 8-bit grey ramps are filtered on their indexes.
    bool ApplyConvolution(std::span<const LONG> kernel, LONG k, LONG divisor, LONG offset);
    // The window colour of middle luminance (ties in window order), alpha included.
    bool ApplyMedian(LONG k);
    // Per channel the negative of the brightest neighbour that is brighter than the pixel.
    bool ApplyContour();
    // Each pixel takes a pixel up to `radius` away in each direction, drawn from `random`.
    bool ApplyJitter(LONG radius, CrtRandom& random);

    // ---- drawing into device contexts (CRasterDraw.cpp) ---------------------------------
    // Puts the picture with its top-left corner at the logical point (x, y) of `dc`, cx by cy
    // device pixels large (a negative size: the picture's own), inside `clip` (device pixels)
    // when one is given. Smoothing averages (shrinking) or interpolates (enlarging). The
    // transparent index or colour, the alpha plane scaled by the alpha maximum and palette
    // alpha are honoured. Raster targets are composed in place; other targets receive the
    // picture with alpha and blend it themselves. 1 when drawn, also when wholly clipped
    // away; 0 without block or device, with a zero size or while Info().enabled is false.
    int Draw(CDC& dc, LONG x, LONG y, LONG cx = -1, LONG cy = -1, const RECT* clip = nullptr,
             bool smooth = false) const;
    int DrawInRect(CDC& dc, const RECT& rect, const RECT* clip = nullptr,
                   bool smooth = false) const;
    // Fills the device rectangle that the logical rectangle maps to, without smoothing.
    int DrawLogical(CDC& dc, LONG x, LONG y, LONG cx, LONG cy) const;
    int DrawLogicalRect(CDC& dc, const RECT& rect) const;

    // ---- exchange with device bitmaps and packed bitmaps (CRasterExchange.cpp) -------------
    // A 32-bit bitmap holding the picture (for memory contexts); null without block or when
    // the bitmap cannot be made. The caller owns it.
    std::unique_ptr<CBitmap> MakeDibSection() const;
    // Replaces the picture by the bitmap's pixels, as a 24-bit picture of type 0.
    bool CreateFromBitmap(const CBitmap& bitmap);
    // Replaces the picture by a packed device-independent bitmap (header, palette or colour
    // masks, rows; as the clipboard and resources hold it) of type 0. Headers of 12, 40, 52,
    // 56, 108 and 124 bytes are read; every length is checked against the bytes given. On
    // failure the picture stays as it was and GetLastError() tells why.
    bool CreateFromGlobalDib(std::span<const BYTE> dib);

protected:
    // For a decoder asked for the header only: records the picture's size without storage.
    void SetHeaderOnly(DWORD width, DWORD height, DWORD bpp);

private:
    using Plane = std::shared_ptr<BYTE[]>;

    void InitMembers(DWORD type);
    bool LoadFrom(const std::string& name, DWORD type);
    void StoreHeader();
    void ResetStorage();
    void SetEmptySelectionBox();
    std::size_t PlaneSize() const;
    // Uncleared: every caller fills what it allocates.
    static Plane AllocatePlane(std::size_t size);
    BYTE* CreateBlock(DWORD width, DWORD height, DWORD bpp, DWORD type, bool cleared);
    void ClearRowPadding();
    static DWORD RaiseDepth(DWORD bpp);
    bool CheckSize(DWORD width, DWORD height, DWORD bpp);
    static LONG PelsPerMeter(LONG dpi);
    void CopyPlanesFrom(const CRaster& source, bool selection, bool alpha);
    BYTE* PixelAddress(LONG x, LONG y) const;
    RGBQUAD StoredColor(LONG x, LONG y) const;
    bool ReduceRows(CRaster& target, bool errorDiffusion);
    bool DiffuseRows(CRaster& target);
    RGBQUAD StoreNearest(LONG x, LONG y, RGBQUAD c);
    bool ExpandRows(CRaster& target);
    void MoveIndexToAlpha(CRaster& target) const;
    bool RowLoopStopped(DWORD y);

    std::size_t PlaneOffset(LONG x, LONG y) const {
        return std::size_t(y) * GetWidth() + std::size_t(x);
    }
    bool CreateLike(CRaster& target, DWORD width, DWORD height);
    bool PlaceResult(CRaster& result, CRaster* destination);
    static BYTE RowIndex(const BYTE* row, LONG x, BYTE bpp);
    void InvertTrueColor();
    void InvertIndexes();
    RECT SelectionBoxInside() const;
    bool Rotate(bool left, CRaster* destination);
    void CopyPixelFrom(const CRaster& from, LONG sx, LONG sy, LONG x, LONG y);
    void RotateSelectionBox(CRaster& result, bool left) const;
    RGBQUAD OutsideColor(int method, const RGBQUAD* replacement) const;
    int DrawDevice(CDC& dc, std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy,
                   const RECT* clip, bool smooth) const;
    RGBQUAD Bilinear(float x, float y, int method, const RGBQUAD* replacement) const;
    RGBQUAD BilinearFast(LONG xi, LONG yi, float t, float u) const;
    RGBQUAD Kernel(float x, float y, int mode, int method, const RGBQUAD* replacement) const;
    RGBQUAD AreaInside(const CRasterFloatRect& area, LONG x0, LONG x1, LONG y0, LONG y1) const;

    BITMAPINFOHEADER head_;
    CRasterInfo info_;
    // Bookkeeping that never travels with a copy.
    Plane dib_;
    std::size_t dibSize_ = 0;
    DWORD stride_ = 0;
    BYTE* bits_ = nullptr;
    bool shared_ = false;
    Plane selection_;
    Plane alpha_;
    std::vector<std::shared_ptr<CRaster>> frames_;
    CNearestColorCache nearest_;
};

// Luminance of a minus luminance of b, luminance = (601 g + 306 r + 117 b) >> 10.
int CompareLuminance(RGBQUAD a, RGBQUAD b);
