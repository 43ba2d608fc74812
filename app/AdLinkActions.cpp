#include "app/AdLinkActions.h"

#include "app/CGridloomApp.h"
#include "dialogs/DownloadName.h"
#include "document/CGridloomDoc.h"
#include "document/WkzFileCommands.h"
#include "image/CRaster.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "view/CGridloomView.h"
#include "view/tiler/CBMPTiler.h"
#include "view/tiler/TileSetCatalogue.h"

#include <filesystem>
#include <span>
#include <system_error>
#include <unistd.h>

namespace {

// A downloaded temporary file, removed when the action is over whatever happened.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

bool IsCircular(const CGridloomDoc& doc) {
    return doc.GridCount() > 0 && doc.GetGrid(0)->GridType() == GRID_RING;
}

void Tell(const std::string& text) {
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

// The address of the folder that holds `url`'s file, with its last '/'.
std::string FolderOf(const std::string& url) {
    const std::string path = url.substr(0, url.find_first_of("?#"));
    return path.substr(0, path.rfind('/') + 1);
}

// Copies `from` to `to` through a temporary file beside `to`.
bool CopyInto(const std::string& from, const std::string& to, std::string& error) {
    const RegularFile file = RegularFile::Read(from, AdLinkActions::kMaxFileBytes);
    if (!file.Ok()) {
        error = file.reason;
        return false;
    }
    return AtomicFile::Write(to, std::as_bytes(std::span<const BYTE>(file.bytes)), error);
}

} // namespace

std::string AdLinkActions::FetchTemporary(const std::string& url, const std::string& prefix,
                                          const std::string& what) {
    std::string path = app_.DownloadFile(url, prefix, "TEMP");
    if (path.empty())
        Tell("The " + what + " could not be downloaded from " + url + ": " + app_.DownloadError());
    return path;
}

bool AdLinkActions::ApplyMask(const std::string& url) {
    // Apply BMP Mask's own guards: no maze, or a circular one, takes no mask.
    CGridloomDoc* doc = view_.GetDocument();
    if (!doc || doc->GridCount() == 0 || IsCircular(*doc))
        return false;
    const TemporaryFile file(FetchTemporary(url, "MASK", "mask"));
    if (file.Path().empty())
        return false;
    CRaster image;
    if (!image.Load(file.Path())) {
        Tell("The mask from " + url + " could not be read: " + image.GetLastError());
        return false;
    }
    return view_.ApplyImageMask(image);
}

bool AdLinkActions::DownloadTiler(const std::string& url) {
    std::string setName;
    if (!DownloadName::FromUrl(url, setName)) {
        Tell("The tile set address " + url + " names no file.");
        return false;
    }
    const TemporaryFile set(FetchTemporary(url, "TILER", "tile set"));
    if (set.Path().empty())
        return false;
    TileSetCatalogue& catalogue = view_.TileSets();
    const std::string folder = catalogue.TilerFolder();
    CBMPTiler tiler;
    std::string pictureName;
    if (!tiler.LoadFromFile(set.Path(), folder) ||
        !DownloadName::Plain(tiler.bmpFile, pictureName)) {
        Tell("The tile set from " + url + " names no picture that could be kept.");
        return false;
    }
    const TemporaryFile picture(
        FetchTemporary(FolderOf(url) + pictureName, "TILER", "tile picture"));
    if (picture.Path().empty())
        return false;
    CRaster sheet;
    if (!sheet.Load(picture.Path())) {
        Tell("The tile picture " + pictureName + " could not be read: " + sheet.GetLastError());
        return false;
    }
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    std::string error;
    // The picture goes first, so a listed set always finds its sheet.
    if (!CopyInto(picture.Path(), folder + pictureName, error) ||
        !CopyInto(set.Path(), folder + setName, error)) {
        Tell("The tile set could not be written to " + folder + ": " + error);
        return false;
    }
    catalogue.MarkStale();
    return true;
}

bool AdLinkActions::UseTemplate(const std::string& url) {
    CGridloomDoc* doc = view_.GetDocument();
    if (!doc || !app_.SaveModified())
        return false;
    const TemporaryFile file(FetchTemporary(url, "TEMPLATE", "template"));
    if (file.Path().empty())
        return false;
    doc->pendingMessage.clear();
    return WkzFileCommands::OpenTemplate(*doc, file.Path());
}
