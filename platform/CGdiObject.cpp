#include "platform/CGdiObject.h"

bool CGdiObject::DeleteObject() {
    if (stock_ || !created_)
        return false;
    Reset();
    created_ = false;
    return true;
}
