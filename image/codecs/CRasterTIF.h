#pragma once
#include "image/codecs/CRasterCodec.h"

#include <cstdint>
#include <memory>
#include <vector>

#include <tiffio.h>

class CRasterTiffClientOpen;

// TIFF through the installed libtiff. Reading takes any page (Info().frame) and maps grey,
// palette, RGB(A), CMYK, YCbCr, CIELab and LogLuv pages onto 1, 4, 8 and 24 bits with an
// alpha plane where the page has alpha, and turns the picture as its orientation says. The
// page's compression becomes the TIFF codec option, so saving it again keeps it.
// Writing makes single pages, or several pages into one file with the append flag.
class CRasterTIF : public CRasterCodec {
public:
    CRasterTIF();
    ~CRasterTIF() override;

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override { return Encode(file, false); }
    // With `append` the page is written and the file kept open for further pages; the first
    // call without it writes the last page and closes the file.
    bool Encode(CRasterFile& file, bool append);
    bool EncodePage(TIFF* tif, bool multiPage, int page, int pageCount);

    // How the rows of a page are turned into picture rows.
    enum class RowKind { Indices, Samples, GreyAlpha, WidePalette, Lab, Rgb, RgbaReader };

private:
    struct Layout;
    bool ReadLayout(TIFF* tif, Layout& p);
    bool FitsData(TIFF* tif, const Layout& p, std::uint64_t fileBytes);
    // What reading the page holds at its peak: the picture, our band, libtiff's and libjpeg's
    // buffers, and a turned copy.
    std::uint64_t Estimate(TIFF* tif, const Layout& p);
    bool Progressive(TIFF* tif, const Layout& p);
    void ChooseKind(TIFF* tif, Layout& p);
    void ReadResolution(TIFF* tif);
    bool ReadPalette(TIFF* tif, Layout& p);
    bool ReadDirect(TIFF* tif, const Layout& p);
    bool ReadBand(TIFF* tif, const Layout& p, DWORD top, DWORD rows, std::vector<BYTE>& band,
                  std::vector<BYTE>& tile);
    bool ReadScanlines(TIFF* tif, DWORD top, DWORD rows, std::vector<BYTE>& band);
    // The library's last word when it has one, else ours.
    bool FailRead(const char* ours);
    void PlaceRow(const Layout& p, const BYTE* in, DWORD top);
    bool ReadRgba(TIFF* tif, const Layout& p);
    void PlaceRgbaRow(const Layout& p, const std::uint32_t* in, DWORD top);
    bool Orient(int orientation);
    void ResetWriter();
    uint16_t ChooseCompression(int bitsPerSample, int photometric) const;
    void BuildRow(DWORD top, int samples, bool invert, std::vector<BYTE>& row);

    std::unique_ptr<CRasterTiffClientOpen> writer_; // kept open between appended pages
    bool multiPage_ = false;
    int pages_ = 0;
};
