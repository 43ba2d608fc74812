#pragma once
#include "dialogs/IAdLinkActions.h"

#include "platform/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocument;
class CGridloomApp;
class CGridloomView;

// What the information pane's download links do once the user agreed: a mask blackens and
// whitens the maze's cells, a tile set lands in the user's Tiler/ folder with its picture, a
// template becomes the maze. Every download goes through the application's DownloadFile, off
// the main thread, and pictures are decoded there too; the action completes when the download
// does. Nothing is applied or kept unless all of it arrived and reads, and temporary files are
// always removed. A mask or template applies only to the document as it was when the user
// asked: one made, opened or changed meanwhile keeps its work, and the status bar says why.
class AdLinkActions : public IAdLinkActions {
public:
    // Downloads larger than this are not read back (tile pictures, templates).
    static constexpr std::uint64_t kMaxFileBytes = 64ull << 20;

    AdLinkActions(CGridloomApp& app, CGridloomView& view) : app_(app), view_(view) {}

    bool ApplyMask(const std::string& url) override;
    bool DownloadTiler(const std::string& url) override;
    bool UseTemplate(const std::string& url) override;

    // A tile set's text with its BMPFILE lines naming `pictureName`, the name its picture is
    // kept under.
    static std::vector<BYTE> WithPictureName(const std::vector<BYTE>& set,
                                             const std::string& pictureName);

private:
    // The document as the user saw it when asking for a download.
    struct DocStamp {
        const CDocument* doc = nullptr;
        std::uint64_t changes = 0;
        std::uint64_t grids = 0;
        std::string path;
        friend bool operator==(const DocStamp&, const DocStamp&) = default;
    };
    DocStamp Stamp() const;
    // True when the document is the one stamped; otherwise says on the status bar that the
    // download was dropped.
    bool StillTheSame(const DocStamp& stamp, const std::string& what) const;
    using Ready = std::function<void(const std::string& path)>;
    // Downloads `url` into a new temporary file and hands it to `ready`; on failure the user
    // is told why. `onWorker` checks the file on the worker (an error text refuses it).
    void FetchTemporary(const std::string& url, const std::string& prefix, const std::string& what,
                        std::function<std::string(const std::string&)> onWorker, Ready ready);
    void KeepTiler(const std::string& url, const std::string& setName,
                   std::shared_ptr<std::vector<BYTE>> setBytes, const std::string& pictureName);

    CGridloomApp& app_;
    CGridloomView& view_;
};
