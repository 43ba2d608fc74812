#include "platform/CCmdTarget.h"

bool CCmdTarget::HandlesCommand(UINT id) const {
    return commands_.count(id) != 0;
}
bool CCmdTarget::HandlesUpdate(UINT id) const {
    return updates_.count(id) != 0;
}

bool CCmdTarget::RunCommand(UINT id) {
    const auto it = commands_.find(id);
    if (it == commands_.end())
        return false;
    it->second();
    return true;
}

bool CCmdTarget::RunUpdate(CCmdUI& ui) {
    const auto it = updates_.find(ui.m_nID);
    if (it == updates_.end())
        return false;
    it->second(ui);
    return true;
}

void CCmdTarget::OnCommand(UINT id, std::function<void()> handler) {
    commands_[id] = std::move(handler);
}

void CCmdTarget::OnCommandRange(UINT first, UINT last, std::function<void(UINT)> handler) {
    for (UINT id = first; id <= last; ++id)
        commands_[id] = [handler, id] { handler(id); };
}

void CCmdTarget::OnUpdate(UINT id, std::function<void(CCmdUI&)> handler) {
    updates_[id] = std::move(handler);
}

void CCmdTarget::OnUpdateRange(UINT first, UINT last, std::function<void(CCmdUI&)> handler) {
    for (UINT id = first; id <= last; ++id)
        updates_[id] = handler;
}

template <typename F> bool CCommandRouter::ForEach(F f) const {
    for (CCmdTarget* t : {view_, document_, frame_, app_})
        if (t && f(*t))
            return true;
    return false;
}

CCmdUI CCommandRouter::Query(UINT id) const {
    CCmdUI ui(id);
    if (ForEach([&](CCmdTarget& t) { return t.RunUpdate(ui); }))
        return ui;
    ui.Enable(HasHandler(id));
    return ui;
}

bool CCommandRouter::HasHandler(UINT id) const {
    return ForEach([&](CCmdTarget& t) { return t.HandlesCommand(id); });
}

bool CCommandRouter::Execute(UINT id) {
    if (!Query(id).IsEnabled())
        return false;
    if (beforeExecute_)
        beforeExecute_(id);
    return ForEach([&](CCmdTarget& t) { return t.RunCommand(id); });
}
