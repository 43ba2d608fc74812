#pragma once
#include "platform/WinTypes.h"

#include <deque>
#include <string>
#include <vector>

// Dialog flags with the Windows API's values.
enum : DWORD {
    OFN_OVERWRITEPROMPT = 0x00000002,
    OFN_HIDEREADONLY = 0x00000004,
    OFN_PATHMUSTEXIST = 0x00000800,
    OFN_FILEMUSTEXIST = 0x00001000,
};

// What the program asks of an open or save dialog. The filter is in the framework's form,
// "Text|pattern|Text|pattern||"; filter indexes count from 1.
struct FileDialogRequest {
    bool open = true;
    std::string filter;
    std::string defaultExtension; // without the dot; added to a typed name that has none
    // Also added to a name that ends in another extension (any case counts as the same).
    bool extensionRequired = false;
    std::string fileName; // initial name
    DWORD flags = OFN_HIDEREADONLY;
    int filterIndex = 1;
};

struct FileDialogAnswer {
    bool ok = false; // false: cancelled
    std::string path;
    int filterIndex = 1;
};

// Asks the user for a file name. Like the message box, the program has one current service
// (a documented singleton): the window layer installs a dialog, tests a scripted one, and with
// none installed every dialog is cancelled.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    virtual FileDialogAnswer Show(const FileDialogRequest& request) = 0;

    static IFileDialog& Current();
    // Asks the current dialog. A save name gets the default extension when it has none, and
    // with OFN_OVERWRITEPROMPT an existing file is replaced only when the user says so for
    // the name as it will be written; "No" asks for another name.
    static FileDialogAnswer Ask(const FileDialogRequest& request);
    // Installs `dialog` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(IFileDialog& dialog);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        IFileDialog* previous_;
    };

    // The (text, pattern) pairs of a filter in the framework's form.
    struct FilterEntry {
        std::string text;
        std::string pattern;
    };
    static std::vector<FilterEntry> ParseFilter(const std::string& filter);
};

class HeadlessFileDialog : public IFileDialog {
public:
    FileDialogAnswer Show(const FileDialogRequest&) override { return {}; }
};

// Answers from a queue (cancel once it runs dry) and records every request.
class ScriptedFileDialog : public IFileDialog {
public:
    void Answer(std::string path, int filterIndex = 1) {
        answers_.push_back({true, std::move(path), filterIndex});
    }
    void Cancel() { answers_.push_back({}); }
    FileDialogAnswer Show(const FileDialogRequest& request) override;
    const std::vector<FileDialogRequest>& Requests() const { return requests_; }

private:
    std::deque<FileDialogAnswer> answers_;
    std::vector<FileDialogRequest> requests_;
};
