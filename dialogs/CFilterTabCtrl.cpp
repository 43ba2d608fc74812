#include "dialogs/CFilterTabCtrl.h"

CFilterTabCtrl::CFilterTabCtrl() {
    auto median = std::make_unique<CDFilterMedian>();
    median_ = median.get();
    pages_.push_back(std::move(median));
    pages_.push_back(std::make_unique<CDFilterContour>());
    pages_.push_back(std::make_unique<CDFilterCircleTransform>());
}

const char* CFilterTabCtrl::TabText(int index) {
    static constexpr std::array<const char*, 3> texts = {"Median", "Contour", "Circle Transform"};
    return index >= 0 && index < int(texts.size()) ? texts[std::size_t(index)] : "";
}

bool CFilterTabCtrl::Select(int index) {
    if (index < 0 || index >= PageCount() || index == current_)
        return false;
    current_ = index;
    return true;
}
