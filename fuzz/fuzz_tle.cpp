// Feeds arbitrary tile-set definitions to the tiler, with a small sheet in its folder so that
// tiles are really cut, then draws the preview: nothing may read outside a picture or leave
// the folder.
#include "image/core/CRaster.h"
#include "tiles/CBMPTiler.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace {

// A folder of this process holding "s.bmp" (24 x 16 pixels), removed at exit.
struct SheetFolder {
    SheetFolder() {
        const std::filesystem::path dir = std::filesystem::exists("/dev/shm")
                                              ? "/dev/shm"
                                              : std::filesystem::temp_directory_path();
        path = dir / ("orlimber-fuzz-tle-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        CRaster sheet(24, 16, 8);
        sheet.SetGrayPalette();
        for (LONG y = 0; y < 16; ++y)
            for (LONG x = 0; x < 24; ++x)
                sheet.SetPixelIndex(x, y, BYTE(x * 10 + y));
        sheet.Save((path / "s.bmp").string(), CRaster::kTypeBmp);
    }
    ~SheetFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SheetFolder folder;
    if (size > CBMPTiler::kMaxFileBytes)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CBMPTiler tiler;
    tiler.folder = folder.path.string() + "/";
    tiler.Parse(text.substr(0, text.find('\0')));
    CRaster preview;
    tiler.RenderPreview(preview, 30, 30);
    return 0;
}
