#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Turns a page the web host sent into one the pane's browser window can show quickly and
// safely: bounded in size, elements and nesting, every element closed, and only what the
// window renders kept (scripts, styles, comments, event handlers and unknown elements go, their
// text stays unless it is script or style). Links and pictures are made absolute against the
// page's own address; pictures from anywhere else than the page's host are dropped.
// Runs on a worker: it uses no toolkit.
class PageMarkup {
public:
    // The pane shows short notes; its own pages are a few hundred bytes.
    static constexpr std::size_t kMaxBytes = 256 * 1024;
    // Elements deeper than this lose their tags, not their text.
    static constexpr int kMaxDepth = 64;
    // Tables inside tables cost the layout dearly at every level.
    static constexpr int kMaxTableDepth = 4;
    // Columns of one table row, spans included: the window keeps a grid of rows by columns.
    static constexpr int kMaxColumns = 64;
    // Grid places one cell covers (columns by rows).
    static constexpr int kMaxCellArea = 256;
    // Elements and words kept: the window lays out each word and element on its own, so these
    // bound the time the window spends on a page. The rest of the page is cut off.
    static constexpr std::size_t kMaxElements = 500;
    static constexpr std::size_t kMaxWords = 1000;
    // Characters of text kept; a long word counts once for each kWordChars of its length.
    static constexpr std::size_t kMaxText = 12 * 1024;
    static constexpr std::size_t kWordChars = 32;
    // Pictures kept; the pane fetches fewer still.
    static constexpr std::size_t kMaxPictures = 100;

    struct Prepared {
        bool usable = false;
        std::string html;
        // Why the page is not usable; what was cut from a usable one.
        std::string note;
    };

    // `pageUrl` is the page's own (absolute) address.
    static Prepared Prepare(std::string_view bytes, std::string_view pageUrl);
};
