#pragma once

#include <string>
#include <vector>

// Opens a document or a web address with the desktop's default program. The program has one
// current service (a documented singleton): the window layer installs the desktop one, tests
// install a recording one, and with none installed the headless one logs and declines.
class IShell {
public:
    virtual ~IShell() = default;
    // True when the desktop accepted the request.
    virtual bool Open(const std::string& target) = 0;

    static IShell& Current();
    // Installs `shell` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(IShell& shell);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        IShell* previous_;
    };
};

// Logs the request to stderr and reports failure.
class HeadlessShell : public IShell {
public:
    bool Open(const std::string& target) override;
};

// Records every request and reports success.
class RecordingShell : public IShell {
public:
    bool Open(const std::string& target) override;
    const std::vector<std::string>& Opened() const { return opened_; }

private:
    std::vector<std::string> opened_;
};
