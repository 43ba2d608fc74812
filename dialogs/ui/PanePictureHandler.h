#pragma once
#include <wx/image.h>

// Lets the browser window read the pane's prepared pictures (PanePicture): the pixels were
// decoded and scaled on a worker, so reading one here is a copy.
class PanePictureHandler : public wxImageHandler {
public:
    PanePictureHandler();
    // Adds the handler to wx once.
    static void Install();

    bool LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int index) override;

protected:
    bool DoCanRead(wxInputStream& stream) override;
};
