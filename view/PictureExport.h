#pragma once
#include <string>

class IRenderView;

// Writes the maze and its solution as two pictures of one size, named after the chosen path.
// The format is the one its extension names (bmp, gif, tif or tiff, jpg or jpeg, any case);
// for any other name, that of the chosen filter (1 BMP, 3 TIFF, 4 JPEG, any other GIF), whose
// extension is then added.
class PictureExport {
public:
    static constexpr const char* kFilter =
        "Bitmap file(*.bmp)|*.bmp|Gif File (*.gif)|*.gif|TIFF File (*.tif)|*.tif|JPG File "
        "(*.jpg)|*.jpg||";
    static constexpr int kMinSide = 1;
    static constexpr int kMaxSide = 16384;

    // The name of the maze (solution false) or the solution picture for a chosen path.
    static std::string FileName(const std::string& path, int filterIndex, bool solution);
    // Renders and writes both pictures of `width` x `height` pixels; the error text, empty
    // when both were written.
    static std::string Write(IRenderView& view, const std::string& path, int filterIndex, int width,
                             int height);
};
