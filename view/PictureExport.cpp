#include "view/PictureExport.h"

#include "document/CGridloomDoc.h"
#include "image/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "view/CGridloomView.h"

namespace {

DWORD TypeOf(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return CRaster::kTypeBmp;
    case 3:
        return CRaster::kTypeTif;
    case 4:
        return CRaster::kTypeJpg;
    default:
        return CRaster::kTypeGif;
    }
}

const char* ExtensionOf(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return "bmp";
    case 3:
        return "tif";
    case 4:
        return "jpg";
    default:
        return "gif";
    }
}

// Readies the picture for its format and writes it; the error text, empty on success.
std::string Save(CRaster& picture, const std::string& name, int filterIndex) {
    const DWORD type = TypeOf(filterIndex);
    if (type == CRaster::kTypeJpg)
        picture.SetJpegQuality(10.0f);
    if (type == CRaster::kTypeGif && picture.GetBpp() > 8 && !picture.DecreaseBpp(8, true))
        return "The picture \"" + name +
               "\" could not be reduced to 256 colours: " + picture.GetLastError();
    if (!picture.Save(name, type))
        return "The picture \"" + name + "\" could not be saved: " + picture.GetLastError();
    return {};
}

} // namespace

std::string PictureExport::FileName(const std::string& path, int filterIndex, bool solution) {
    // Only a dot in the file name starts the extension, not one in a folder name.
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot + 1) : ExtensionOf(filterIndex);
    return base + "_000" + (solution ? "_Sol." : ".") + extension;
}

std::string PictureExport::Write(CGridloomView& view, const std::string& path, int filterIndex,
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
            error = "The picture \"" + name + "\" could not be made: " + picture.GetLastError();
        else
            error = Save(picture, name, filterIndex);
    }
    view.SetScreenFlag(true);
    view.SetShowSolution(shown);
    return error;
}
