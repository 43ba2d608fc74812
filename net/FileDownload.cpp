#include "net/FileDownload.h"

#include "net/CWebGrab.h"
#include "net/DownloadName.h"
#include "net/IConnectivity.h"
#include "net/UrlCleaner.h"
#include "net/WebEndpoint.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

bool FileDownload::WaitForConnection() {
    if (connectivity_.IsConnected(0))
        return true;
    for (int prompt = 0; prompt < kMaxConnectionPrompts; ++prompt) {
        if (AfxMessageBox(kNoConnectionText, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
            break;
        // The user says the line is up: ask the hosts now rather than trust the last failure.
        if (connectivity_.IsConnected(1))
            return true;
    }
    error_ = "No Internet connection";
    return false;
}

std::string FileDownload::NewTempFile(const std::string& prefix) {
    std::string name;
    if (!DownloadName::Plain(prefix, name))
        name = "orlimber";
    std::string path = (std::filesystem::temp_directory_path() / (name + "XXXXXX")).string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        error_ = "Could not create a temporary file: " + std::string(std::strerror(errno));
        return {};
    }
    ::close(fd);
    return path;
}

std::string FileDownload::Fetch(const std::string& url, const std::string& prefix,
                                const std::string& destination) {
    error_.clear();
    length_ = 0;
    if (!WaitForConnection())
        return {};
    return FetchConnected(url, prefix, destination);
}

std::string FileDownload::FetchConnected(const std::string& url, const std::string& prefix,
                                         const std::string& destination) {
    error_.clear();
    length_ = 0;
    std::string address;
    if (!UrlCleaner::Clean(url, address)) {
        error_ = "The address is too long";
        return {};
    }
    std::string body;
    if (!grab_.GetPage(address, body, kWebAgent)) {
        error_ = grab_.GetErrorMessage();
        return {};
    }
    if (grab_.GetHttpStatus() < 200 || grab_.GetHttpStatus() > 299) {
        error_ = "The server answered " + std::to_string(grab_.GetHttpStatus());
        return {};
    }
    if (!body.empty())
        body.pop_back();
    const bool temporary = destination == kTempDestination;
    const std::string path = temporary ? NewTempFile(prefix) : destination;
    if (path.empty())
        return {};
    if (!AtomicFile::Write(path, body, error_)) {
        if (temporary)
            ::unlink(path.c_str());
        return {};
    }
    length_ = body.size();
    return path;
}
