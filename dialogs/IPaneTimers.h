#pragma once

// One-shot timers of a pane, by id: setting an armed timer re-arms it.
class IPaneTimers {
public:
    virtual ~IPaneTimers() = default;
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
};
