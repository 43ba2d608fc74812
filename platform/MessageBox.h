#pragma once
#include "platform/WinTypes.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Button sets, icons and answers with the Windows API's values.
enum : UINT {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The answer a box gives when the user just presses Enter.
int DefaultAnswer(UINT type);

// Asks the user something. The program has one current service (a documented singleton):
// the window layer installs a dialog-based one, tests install a scripted one, and with none
// installed the headless one answers.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual int Show(const std::string& text, const std::string& caption, UINT type) = 0;

    static IMessageBox& Current();
    // Installs `box` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(IMessageBox& box);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        IMessageBox* previous_;
    };
};

// Takes the default button and logs the text to stderr.
class HeadlessMessageBox : public IMessageBox {
public:
    int Show(const std::string& text, const std::string& caption, UINT type) override;
};

// Answers from a queue (the default button once it runs dry) and records every box shown.
class ScriptedMessageBox : public IMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        UINT type;
    };
    void Answer(int answer) { answers_.push_back(answer); }
    int Show(const std::string& text, const std::string& caption, UINT type) override;
    const std::vector<Shown>& ShownBoxes() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
};

// The framework's shorthand: caption "Orlimber STD".
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
