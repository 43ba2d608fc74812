#include "gesture/CGesturePad.h"

void CGesturePad::BeginTraining() {
    raw_.clear();
    resampled_.clear();
    errors_.clear();
    state_ = StateTraining;
}
