#pragma once
#include "platform/Sound.h"

#include <memory>
#include <string>

struct ca_context;

// Feedback sounds through libcanberra, which plays a file in the background on whatever
// sound system the desktop runs. The connection opens with the first sound and closes with
// the object.
class CanberraSound : public ISound {
public:
    // `folder` ends in a slash.
    explicit CanberraSound(std::string folder);
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    void Play(const std::string& name) override;

private:
    struct ContextDeleter {
        void operator()(ca_context* context) const;
    };

    std::string folder_;
    std::unique_ptr<ca_context, ContextDeleter> context_;
    bool failed_ = false;
};
