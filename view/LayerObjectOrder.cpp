#include "view/LayerObjectOrder.h"

#include <algorithm>

namespace {

bool IsSelected(const CLogicalRectTracker& object) {
    return object.GetSelectionStyle() == LayerObjectOrder::kSelected;
}

} // namespace

bool LayerObjectOrder::AnySelected(const Objects& objects) {
    return std::any_of(objects.begin(), objects.end(), IsSelected);
}

void LayerObjectOrder::MarkLayer(Objects& objects, int layer) {
    for (CLogicalRectTracker& object : objects)
        object.SetSelectionStyle(object.GetLayer() == layer ? kOnLayer : kOffLayer);
}

int LayerObjectOrder::DeleteSelected(Objects& objects) {
    const auto removed = std::erase_if(objects, IsSelected);
    return static_cast<int>(removed);
}

bool LayerObjectOrder::BringSelectedToTop(Objects& objects) {
    const auto it = std::find_if(objects.begin(), objects.end(), IsSelected);
    if (it == objects.end())
        return false;
    std::rotate(it, it + 1, objects.end());
    return true;
}

bool LayerObjectOrder::MoveSelectedToBottom(Objects& objects) {
    const auto it = std::find_if(objects.begin(), objects.end(), IsSelected);
    if (it == objects.end())
        return false;
    std::rotate(objects.begin(), it, it + 1);
    return true;
}
