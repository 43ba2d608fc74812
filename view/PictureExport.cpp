#include "view/PictureExport.h"

#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "platform/SaveRefusal.h"
#include "view/IRenderView.h"
#include "view/PolygonCellGeometry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

struct Format {
    const char* extension;
    DWORD type;
};

// The four formats offered, by the names a typed extension may use for them.
constexpr Format kNamed[] = {{"bmp", CRaster::kTypeBmp}, {"gif", CRaster::kTypeGif},
                             {"tif", CRaster::kTypeTif}, {"tiff", CRaster::kTypeTif},
                             {"jpg", CRaster::kTypeJpg}, {"jpeg", CRaster::kTypeJpg}};

Format OfFilter(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return {"bmp", CRaster::kTypeBmp};
    case 3:
        return {"tif", CRaster::kTypeTif};
    case 4:
        return {"jpg", CRaster::kTypeJpg};
    default:
        return {"gif", CRaster::kTypeGif};
    }
}

const Format* NamedBy(const std::string& extension) {
    for (const Format& f : kNamed)
        if (extension.size() == std::strlen(f.extension) &&
            std::equal(extension.begin(), extension.end(), f.extension, [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            }))
            return &f;
    return nullptr;
}

// The chosen path split into the base of both names, their extension and the format
// written. A typed extension naming one of the offered formats picks that format, so the
// bytes always match the name; any other stays part of the base and the filter's extension
// is added.
struct Target {
    std::string base;
    std::string extension;
    DWORD type;
};

Target TargetOf(const std::string& path, int filterIndex) {
    // Only a dot in the file name starts the extension, not one in a folder name.
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        const std::string typed = path.substr(dot + 1);
        if (const Format* named = NamedBy(typed))
            return {path.substr(0, dot), typed, named->type};
    }
    const Format chosen = OfFilter(filterIndex);
    return {path, chosen.extension, chosen.type};
}

// Readies the picture for its format and writes it; the error text, empty on success.
std::string Save(CRaster& picture, const std::string& name, DWORD type) {
    if (type == CRaster::kTypeJpg)
        picture.SetJpegQuality(10.0f);
    if (type == CRaster::kTypeGif && picture.GetBpp() > 8 && !picture.DecreaseBpp(8, true))
        return SaveRefusal::Text(name, std::string("it could not be reduced to 256 colours: ") +
                                           picture.GetLastError());
    if (!picture.Save(name, type))
        return picture.GetLastError();
    return {};
}

} // namespace

std::string PictureExport::FileName(const std::string& path, int filterIndex, bool solution) {
    const Target target = TargetOf(path, filterIndex);
    return target.base + "_000" + (solution ? "_Sol." : ".") + target.extension;
}

std::string PictureExport::Write(IRenderView& view, const std::string& path, int filterIndex,
                                 int width, int height) {
    if (width < kMinSide || width > kMaxSide || height < kMinSide || height > kMaxSide)
        return "The picture size must be from " + std::to_string(kMinSide) + " to " +
               std::to_string(kMaxSide) + " pixels on each side.";
    CGridloomDoc* doc = view.GetDocument();
    if (!doc || doc->GridCount() == 0)
        return {};
    view.BuildCellGeometry();
    const int logicalWidth = view.Extent().maxX;
    const int logicalHeight = view.Extent().maxY + view.BandHeight() + 150;
    const bool shown = view.ShowSolution();
    std::string error;
    for (int j = 0; j < 2 && error.empty(); ++j) {
        CBitmap bitmap;
        if (!bitmap.CreateBitmap32(width, height)) {
            error = "There is not enough memory for a picture of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels.";
            break;
        }
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.SetMapMode(MM_TEXT);
        dc.PatBlt(0, 0, width, height, WHITENESS);
        // Logical (0, 0) is the top-left pixel and (width, -height) the bottom-right one.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(logicalWidth, -logicalHeight);
        dc.SetViewportExt(width - 1, height - 1);
        view.SetShowSolution(j == 1);
        view.SetScreenFlag(false);
        doc->reRender = 1;
        // Selection marks are not part of the picture.
        view.SetActiveLayer(0);
        view.OnDraw(dc);
        view.SetActiveLayer(-1);
        CRaster picture;
        const std::string name = FileName(path, filterIndex, j == 1);
        if (!picture.CreateFromBitmap(bitmap))
            error = SaveRefusal::Text(name, std::string("the picture could not be made: ") +
                                                picture.GetLastError());
        else
            error = Save(picture, name, TargetOf(path, filterIndex).type);
    }
    view.SetScreenFlag(true);
    view.SetShowSolution(shown);
    return error;
}
