#pragma once

// libcurl's process-wide set-up, done once before the first handle is made and undone at exit
// (a documented singleton: libcurl itself is process-wide).
class CurlGlobal {
public:
    // Initialises libcurl on first use; later calls return at once. False when libcurl could
    // not be initialised.
    static bool Ensure();

private:
    CurlGlobal();
    ~CurlGlobal();
    bool ok_ = false;
};
