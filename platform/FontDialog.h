#pragma once
#include "platform/CHOOSEFONT.h"
#include "platform/LOGFONT.h"
#include "platform/WinTypes.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Font dialog flags with the Windows API's values.
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_ENABLEHOOK = 0x00000008;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_EFFECTS = 0x00000100;
// The font types the dialog reports in CHOOSEFONT::nFontType.
constexpr WORD BOLD_FONTTYPE = 0x0100;
constexpr WORD ITALIC_FONTTYPE = 0x0200;
constexpr WORD REGULAR_FONTTYPE = 0x0400;
constexpr WORD SCREEN_FONTTYPE = 0x2000;

// What the program asks of the font dialog: the font and colour to start from (none: the
// dialog's own default) and the flags the program passes.
struct FontDialogRequest {
    std::optional<LOGFONT> initial;
    COLORREF colour = 0;
    DWORD flags = CF_EFFECTS | CF_PRINTERFONTS;
};

// A font as the user sees it in the dialog: a face, a size in tenths of a point, the effects
// and the colour. It converts to and from the records the program stores.
struct FontChoice {
    static constexpr int kScreenDpi = 96;
    static constexpr int kMinTenths = 10;   // 1 pt
    static constexpr int kMaxTenths = 7200; // 720 pt

    std::string face = "Arial";
    int tenths = 120;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    COLORREF colour = 0;

    // The dialog's starting point for a request: Arial 12 pt black without an initial font.
    static FontChoice From(const FontDialogRequest& request);
    // The font at the screen's 96 pixels per inch: 12 pt is a height of -16.
    LOGFONT ToLogFont() const;
    // The dialog's record: size, colour, flags and font type; pointers stay 0.
    CHOOSEFONT ToChooseFont(DWORD requestFlags, bool hadInitial) const;
    // Keeps the size inside what the dialog offers.
    static int ClampTenths(int tenths);
};

struct FontDialogAnswer {
    bool ok = false; // false: cancelled
    CHOOSEFONT choose;
    LOGFONT log;
};

// Asks the user for a font and a colour. Like the file dialog there is one current service
// (a documented singleton): the window layer installs a dialog, tests a scripted one, and
// with none installed every dialog is cancelled.
class IFontDialog {
public:
    virtual ~IFontDialog() = default;
    virtual FontDialogAnswer Show(const FontDialogRequest& request) = 0;

    static IFontDialog& Current();
    static FontDialogAnswer Ask(const FontDialogRequest& request) {
        return Current().Show(request);
    }
    // The answer the dialog gives when the user takes `choice` with OK.
    static FontDialogAnswer Answer(const FontChoice& choice, const FontDialogRequest& request);

    // Installs `dialog` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(IFontDialog& dialog);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        IFontDialog* previous_;
    };
};

class HeadlessFontDialog : public IFontDialog {
public:
    FontDialogAnswer Show(const FontDialogRequest&) override { return {}; }
};

// Answers from a queue (cancel once it runs dry) and records every request.
class ScriptedFontDialog : public IFontDialog {
public:
    void Choose(FontChoice choice) { answers_.push_back({Step::Choose, std::move(choice)}); }
    // OK without changing anything: the request's own starting point.
    void Accept() { answers_.push_back({Step::Accept, {}}); }
    void Cancel() { answers_.push_back({Step::Cancel, {}}); }
    FontDialogAnswer Show(const FontDialogRequest& request) override;
    const std::vector<FontDialogRequest>& Requests() const { return requests_; }
    std::size_t Pending() const { return answers_.size(); }

private:
    enum class Step { Cancel, Accept, Choose };
    struct Scripted {
        Step step;
        FontChoice choice;
    };
    std::deque<Scripted> answers_;
    std::vector<FontDialogRequest> requests_;
};
