#include "dialogs/ui/PanePictureHandler.h"

#include "net/PanePicture.h"

#include <wx/stream.h>

#include <string>

namespace {

constexpr const char* kName = "Orlimber pane picture";
// A type of its own beyond wx's, so no other handler is asked for it by type.
const auto kType = static_cast<wxBitmapType>(wxBITMAP_TYPE_MAX + 1);

} // namespace

PanePictureHandler::PanePictureHandler() {
    SetName(kName);
    SetExtension("orlpane");
    SetType(kType);
    SetMimeType(PanePicture::kMimeType);
}

void PanePictureHandler::Install() {
    if (!wxImage::FindHandler(kName))
        wxImage::AddHandler(new PanePictureHandler); // wx owns its handlers
}

bool PanePictureHandler::DoCanRead(wxInputStream& stream) {
    char magic[PanePicture::kMagic.size()];
    return stream.Read(magic, sizeof magic).LastRead() == sizeof magic &&
           PanePicture::IsPrepared(std::string_view(magic, sizeof magic));
}

bool PanePictureHandler::LoadFile(wxImage* image, wxInputStream& stream, bool, int) {
    std::string bytes;
    char buffer[64 * 1024];
    while (stream.CanRead()) {
        const std::size_t n = stream.Read(buffer, sizeof buffer).LastRead();
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    PanePicture::Pixels pixels;
    if (!PanePicture::Read(bytes, pixels))
        return false;
    const int width = int(pixels.width);
    const int height = int(pixels.height);
    if (!image->Create(width, height, false))
        return false;
    image->SetAlpha();
    unsigned char* rgb = image->GetData();
    unsigned char* alpha = image->GetAlpha();
    const std::size_t count = std::size_t(width) * std::size_t(height);
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* p = pixels.rgba + 4 * i;
        rgb[3 * i] = p[0];
        rgb[3 * i + 1] = p[1];
        rgb[3 * i + 2] = p[2];
        alpha[i] = p[3];
    }
    return true;
}
