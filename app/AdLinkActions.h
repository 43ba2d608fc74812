#pragma once
#include "dialogs/IAdLinkActions.h"

#include <cstdint>
#include <string>

class CGridloomApp;
class CGridloomView;

// What the information pane's download links do once the user agreed: a mask blackens and
// whitens the maze's cells, a tile set lands in the install folder's Tiler/ with its picture,
// a template becomes the maze. Every download goes through the application's DownloadFile;
// nothing is applied or kept unless all of it arrived and reads, and temporary files are
// always removed.
class AdLinkActions : public IAdLinkActions {
public:
    // Downloads larger than this are not read back (tile pictures, templates).
    static constexpr std::uint64_t kMaxFileBytes = 64ull << 20;

    AdLinkActions(CGridloomApp& app, CGridloomView& view) : app_(app), view_(view) {}

    bool ApplyMask(const std::string& url) override;
    bool DownloadTiler(const std::string& url) override;
    bool UseTemplate(const std::string& url) override;

private:
    // Downloads `url` into a new temporary file; empty (the user told why) on failure.
    std::string FetchTemporary(const std::string& url, const std::string& prefix,
                               const std::string& what);

    CGridloomApp& app_;
    CGridloomView& view_;
};
