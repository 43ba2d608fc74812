#include "platform/CWaitCursor.h"

namespace {

class NoIndicator : public IBusyIndicator {
public:
    void Begin() override {}
    void End() override {}
};

IBusyIndicator*& CurrentIndicator() {
    static NoIndicator none;
    static IBusyIndicator* current = &none;
    return current;
}

} // namespace

IBusyIndicator& IBusyIndicator::Current() {
    return *CurrentIndicator();
}

IBusyIndicator::Installation::Installation(IBusyIndicator& indicator)
    : previous_(CurrentIndicator()) {
    CurrentIndicator() = &indicator;
}

IBusyIndicator::Installation::~Installation() {
    CurrentIndicator() = previous_;
}
