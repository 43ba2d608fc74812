#pragma once
#include <memory>
#include <utility>

// Tells callbacks that may run after an object is gone (a result handed back through the
// event loop, a late download) whether it still lives. The object owns a token and ends it
// first thing in its destructor; callbacks hold a Watch instead of a bare pointer. Tokens and
// watches belong to the main thread.
class LifeToken {
public:
    class Watch {
    public:
        Watch() = default;
        bool Alive() const { return !life_.expired(); }

    private:
        friend class LifeToken;
        explicit Watch(std::weak_ptr<const int> life) : life_(std::move(life)) {}
        std::weak_ptr<const int> life_;
    };

    LifeToken() = default;
    LifeToken(const LifeToken&) = delete;
    LifeToken& operator=(const LifeToken&) = delete;

    Watch Watcher() const { return Watch(life_); }
    void End() { life_.reset(); }

private:
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};
