#pragma once
#include "dialogs/CDFilterCircleTransform.h"
#include "dialogs/CDFilterContour.h"
#include "dialogs/CDFilterMedian.h"

#include <array>
#include <memory>
#include <vector>

// The filter pages of the preview dialog in tab order, and which one is current.
class CFilterTabCtrl {
public:
    static constexpr int kId = 1085;
    enum Page : int { kMedian = 0, kContour = 1, kCircleTransform = 2 };

    CFilterTabCtrl();

    int PageCount() const { return int(pages_.size()); }
    static const char* TabText(int index);
    CDialogFilter& PageAt(int index) { return *pages_[std::size_t(index)]; }
    CDialogFilter& CurrentPage() { return PageAt(current_); }
    int Current() const { return current_; }
    // Makes another page current; false for an index outside the pages or the current one.
    bool Select(int index);

    CDFilterMedian& Median() { return *median_; }

private:
    std::vector<std::unique_ptr<CDialogFilter>> pages_;
    CDFilterMedian* median_ = nullptr;
    int current_ = 0;
};
