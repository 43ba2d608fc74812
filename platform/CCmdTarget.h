#pragma once
#include "platform/WinTypes.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

// What an update handler decides about one command: enabled, checked, its text.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    void Enable(bool on = true) { enabled_ = on; }
    void SetCheck(int check = 1) { checked_ = check; }
    void SetText(const std::string& text) { text_ = text; }

    UINT m_nID;
    bool IsEnabled() const { return enabled_; }
    int Checked() const { return checked_.value_or(0); }
    // False when no handler said anything about the check mark (a pressed button stays).
    bool HasCheck() const { return checked_.has_value(); }
    const std::optional<std::string>& Text() const { return text_; }

private:
    bool enabled_ = true;
    std::optional<int> checked_;
    std::optional<std::string> text_;
};

// Something that handles commands by the program's own command numbers: the message map of
// the framework, filled in by the constructor of each derived class.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    bool HandlesCommand(UINT id) const;
    bool HandlesUpdate(UINT id) const;
    // Runs the handler; false when there is none.
    bool RunCommand(UINT id);
    // Runs the update handler into `ui`; false when there is none.
    bool RunUpdate(CCmdUI& ui);

protected:
    void OnCommand(UINT id, std::function<void()> handler);
    void OnCommandRange(UINT first, UINT last, std::function<void(UINT)> handler);
    void OnUpdate(UINT id, std::function<void(CCmdUI&)> handler);
    void OnUpdateRange(UINT first, UINT last, std::function<void(CCmdUI&)> handler);

private:
    std::map<UINT, std::function<void()>> commands_;
    std::map<UINT, std::function<void(CCmdUI&)>> updates_;
};

// Routes commands view → document → frame → application, as the framework does. A command's
// state comes from the first target with an update handler for it; without one it is enabled
// only when some target handles it. A disabled command is never run.
class CCommandRouter {
public:
    void SetView(CCmdTarget* t) { view_ = t; }
    void SetDocument(CCmdTarget* t) { document_ = t; }
    void SetFrame(CCmdTarget* t) { frame_ = t; }
    void SetApp(CCmdTarget* t) { app_ = t; }

    CCmdUI Query(UINT id) const;
    // Some target on the route has a command handler for `id`.
    bool HasHandler(UINT id) const;
    // True when the command was enabled and a handler ran.
    bool Execute(UINT id);
    // Runs before every enabled command, whichever target handles it.
    void SetBeforeExecute(std::function<void(UINT)> hook) { beforeExecute_ = std::move(hook); }

private:
    template <typename F> bool ForEach(F f) const;

    CCmdTarget* view_ = nullptr;
    CCmdTarget* document_ = nullptr;
    CCmdTarget* frame_ = nullptr;
    CCmdTarget* app_ = nullptr;
    std::function<void(UINT)> beforeExecute_;
};
