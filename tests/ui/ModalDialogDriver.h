#pragma once
#include <wx/dialog.h>
#include <wx/image.h>

#include <atomic>
#include <functional>
#include <string>

// Drives a modal dialog with real X input: once the dialog shows, a script runs on a worker
// thread and sends mouse and key events through xdotool while the dialog's own loop handles
// them. Work that touches windows goes back to the main thread through OnMain.
class ModalDialogDriver {
public:
    static bool HaveXdotool();

    // Shows `dialog` modally and runs `script`; answers the dialog's return code. A dialog
    // still open some seconds after the script ends is closed with wxID_ABORT.
    int Run(wxDialog& dialog, const std::function<void(ModalDialogDriver&)>& script);

    // Clicks the centre of `window` (or the point `offset` from its top-left corner).
    void Click(wxWindow* window);
    void ClickAt(wxWindow* window, const wxPoint& offset);
    void Key(const std::string& keys);
    void Type(const std::string& text);
    // Replaces the text of an edit control by typing into it.
    void Retype(wxWindow* edit, const std::string& text);
    // Runs `work` on the main thread and waits for it.
    void OnMain(const std::function<void()>& work);
    // What the screen shows of `window`, kept as NAME.png with the test results.
    wxImage Screenshot(wxWindow* window, const std::string& name);

private:
    void Xdotool(const std::string& arguments);
    // Waits until the dialog shows in its place.
    bool Shown(wxDialog& dialog);
    // Waits until the dialog's loop has handled the input sent so far, with nothing left
    // over a few looks; true also once the dialog has closed.
    bool Settle();

    // Where screenshots go when the test results have no folder; removed afterwards.
    class Folder {
    public:
        Folder();
        ~Folder();
        const std::string& Path() const { return path_; }

    private:
        std::string path_;
    };

    std::atomic<bool> closed_{false};
    Folder folder_;
};
