#pragma once
#include <string>

class CWebGrab;
class IConnectivity;

// Fetches one file from the web host into a local file: waits for a connection (asking the
// user), cleans the address, fetches it with the program's agent and writes the body less its
// last byte (the host adds one) through a temporary file. Only a 2xx answer is written; any
// failure writes nothing and leaves the destination as it was.
class FileDownload {
public:
    static constexpr const char* kTempDestination = "TEMP";
    static constexpr const char* kNoConnectionText =
        "No Internet Connection while getting file; Orlimber requires access to the internet, "
        "please connect and press OK to continue.  You may need to dial your ISP such as AOL, "
        "Erols, etc.";
    // The user is asked at most this often before the download gives up (a headless run
    // answers OK without end).
    static constexpr int kMaxConnectionPrompts = 3;

    FileDownload(IConnectivity& connectivity, CWebGrab& grab)
        : connectivity_(connectivity), grab_(grab) {}

    // Downloads `url` into `destination`, or into a new file named `prefix`XXXXXX in the
    // temporary folder when it is kTempDestination. Returns the path written, or an empty
    // string with Error() set.
    std::string Fetch(const std::string& url, const std::string& prefix,
                      const std::string& destination);
    // The same once the connection is known to be up: no question, no probe, so it can run
    // on a worker.
    std::string FetchConnected(const std::string& url, const std::string& prefix,
                               const std::string& destination);
    const std::string& Error() const { return error_; }
    // Bytes written by the last successful download.
    std::size_t Length() const { return length_; }

private:
    bool WaitForConnection();
    std::string NewTempFile(const std::string& prefix);

    IConnectivity& connectivity_;
    CWebGrab& grab_;
    std::string error_;
    std::size_t length_ = 0;
};
