#include "app/AdLinkActions.h"

#include "app/CGridloomApp.h"
#include "document/CGridloomDoc.h"
#include "document/WkzFileCommands.h"
#include "image/core/CRaster.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "net/DownloadName.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"
#include "view/CGridloomView.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <system_error>
#include <unistd.h>

namespace {

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

std::vector<BYTE> AdLinkActions::WithPictureName(const std::vector<BYTE>& set,
                                                 const std::string& pictureName) {
    // Line by line as the reader splits them; the value after the line's first colon is
    // what the reader takes, so that is what changes where it names another file. Everything
    // else stays as it was.
    std::vector<BYTE> out;
    out.reserve(set.size() + pictureName.size());
    const std::string_view key = "BMPFILE:";
    const auto bytes = [&](std::size_t from, std::size_t to) {
        out.insert(out.end(), set.begin() + std::ptrdiff_t(from), set.begin() + std::ptrdiff_t(to));
    };
    for (std::size_t at = 0; at < set.size();) {
        std::size_t next = at;
        while (next < set.size() && set[next] != '\n')
            ++next;
        std::size_t end = next;
        if (end > at && set[end - 1] == '\r')
            --end;
        next = std::min(next + 1, set.size());
        const std::string_view line(reinterpret_cast<const char*>(set.data()) + at, end - at);
        const std::size_t colon = line.find(':');
        std::string_view value = colon == std::string_view::npos ? "" : line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
            value.remove_suffix(1);
        if (line.find(key) != std::string_view::npos && colon != std::string_view::npos &&
            value != pictureName) {
            bytes(at, at + colon + 1);
            out.insert(out.end(), pictureName.begin(), pictureName.end());
            bytes(end, next);
        } else {
            bytes(at, next);
        }
        at = next;
    }
    return out;
}

AdLinkActions::DocStamp AdLinkActions::Stamp() const {
    const CGridloomDoc* doc = view_.GetDocument();
    if (!doc)
        return {};
    return {doc, doc->ChangeCount(), doc->GridGeneration(), doc->GetPathName()};
}

bool AdLinkActions::StillTheSame(const DocStamp& stamp, const std::string& what) const {
    if (Stamp() == stamp)
        return true;
    app_.ShowStatus("The " + what + " arrived after the maze had changed; it was not used");
    return false;
}

void AdLinkActions::FetchTemporary(const std::string& url, const std::string& prefix,
                                   const std::string& what,
                                   std::function<std::string(const std::string&)> onWorker,
                                   Ready ready) {
    app_.DownloadFile({url, prefix, "TEMP", what, std::move(onWorker)},
                      [url, what, ready](const std::string& path, const std::string& error) {
                          if (path.empty())
                              Tell("The " + what + " could not be downloaded from " + url + ": " +
                                   error);
                          else
                              ready(path);
                      });
}

namespace {

// Decodes a downloaded picture on the worker; the error text when it does not read.
std::function<std::string(const std::string&)> Decode(std::shared_ptr<CRaster> image) {
    return [image](const std::string& path) {
        return image->Load(path) ? std::string()
                                 : "it does not read: " + std::string(image->GetLastError());
    };
}

} // namespace

bool AdLinkActions::ApplyMask(const std::string& url) {
    // Apply BMP Mask's own guards: no maze, or a circular one, takes no mask.
    CGridloomDoc* doc = view_.GetDocument();
    if (!doc || doc->GridCount() == 0 || IsCircular(*doc))
        return false;
    auto image = std::make_shared<CRaster>();
    FetchTemporary(url, "MASK", "mask", Decode(image),
                   [this, image, stamp = Stamp()](const std::string&) {
                       if (!StillTheSame(stamp, "mask"))
                           return;
                       CGridloomDoc* now = view_.GetDocument();
                       if (now && now->GridCount() > 0 && !IsCircular(*now))
                           view_.ApplyImageMask(*image);
                   });
    return true;
}

bool AdLinkActions::DownloadTiler(const std::string& url) {
    std::string setName;
    if (!DownloadName::FromUrl(url, setName)) {
        Tell("The tile set address " + url + " names no file.");
        return false;
    }
    FetchTemporary(url, "TILER", "tile set", {}, [this, url, setName](const std::string& path) {
        CBMPTiler tiler;
        std::string pictureName;
        const RegularFile file = RegularFile::Read(path, kMaxFileBytes);
        if (!file.Ok() ||
            !tiler.LoadFromFile(path, view_.TileSets().UserTilerFolder(),
                                CBMPTiler::Pictures::Skip) ||
            !DownloadName::Plain(tiler.bmpFile, pictureName)) {
            Tell("The tile set from " + url + " names no picture that could be kept.");
            return;
        }
        // The set names its picture as it is kept, wherever the host said it was.
        KeepTiler(url, setName,
                  std::make_shared<std::vector<BYTE>>(WithPictureName(file.bytes, pictureName)),
                  pictureName);
    });
    return true;
}

void AdLinkActions::KeepTiler(const std::string& url, const std::string& setName,
                              std::shared_ptr<std::vector<BYTE>> setBytes,
                              const std::string& pictureName) {
    auto sheet = std::make_shared<CRaster>();
    FetchTemporary(FolderOf(url) + pictureName, "TILER", "tile picture", Decode(sheet),
                   [this, setName, setBytes, pictureName](const std::string& picture) {
                       TileSetCatalogue& catalogue = view_.TileSets();
                       const std::string folder = catalogue.UserTilerFolder();
                       std::error_code made;
                       std::filesystem::create_directories(folder, made);
                       std::string error;
                       // The picture goes first, so a listed set always finds its sheet.
                       if (!CopyInto(picture, folder + pictureName, error) ||
                           !AtomicFile::Write(folder + setName,
                                              std::as_bytes(std::span<const BYTE>(*setBytes)),
                                              error)) {
                           Tell("The tile set could not be written to " + folder + ": " + error);
                           return;
                       }
                       catalogue.MarkStale();
                   });
}

bool AdLinkActions::UseTemplate(const std::string& url) {
    CGridloomDoc* doc = view_.GetDocument();
    if (!doc || !app_.SaveModified())
        return false;
    // Taken after the question, since saving changes the document.
    FetchTemporary(url, "TEMPLATE", "template", {},
                   [this, stamp = Stamp()](const std::string& path) {
                       CGridloomDoc* now = view_.GetDocument();
                       if (!now || !StillTheSame(stamp, "template"))
                           return;
                       now->pendingMessage.clear();
                       WkzFileCommands::OpenTemplate(*now, path);
                   });
    return true;
}
