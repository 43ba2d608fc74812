#include "platform/CanberraSound.h"

#include <canberra.h>

namespace {
// Every sound plays under one id, so that cancelling it stops whichever is still going.
constexpr uint32_t kFeedbackId = 1;
} // namespace

void CanberraSound::ContextDeleter::operator()(ca_context* context) const {
    ca_context_destroy(context);
}

CanberraSound::CanberraSound(std::string folder) : folder_(std::move(folder)) {}

CanberraSound::~CanberraSound() = default;

void CanberraSound::Play(const std::string& name) {
    if (!context_ && !failed_) {
        ca_context* context = nullptr;
        if (ca_context_create(&context) != CA_SUCCESS || !context) {
            // No sound system: stay quiet for the rest of the run.
            failed_ = true;
            return;
        }
        context_.reset(context);
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Orlimber", nullptr);
    }
    if (!context_)
        return;
    ca_context_cancel(context_.get(), kFeedbackId);
    const std::string file = FileOf(folder_, name);
    ca_context_play(context_.get(), kFeedbackId, CA_PROP_MEDIA_FILENAME, file.c_str(),
                    CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
}
