#pragma once

// Shows the user that long work is under way (the busy cursor). The program has one current
// indicator (a documented singleton): the window layer installs the toolkit's busy cursor;
// without one installed nothing is shown.
class IBusyIndicator {
public:
    virtual ~IBusyIndicator() = default;
    // Calls nest: the indicator shows until every Begin has had its End.
    virtual void Begin() = 0;
    virtual void End() = 0;
    // Whether the user is asking the work to stop (holding Escape down); cheap enough to ask
    // every few milliseconds, never processing events.
    virtual bool StopAsked() { return false; }

    static IBusyIndicator& Current();
    // Installs `indicator` until the returned guard is destroyed.
    class Installation {
    public:
        explicit Installation(IBusyIndicator& indicator);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        IBusyIndicator* previous_;
    };
};

// The busy cursor for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor() { IBusyIndicator::Current().Begin(); }
    ~CWaitCursor() { IBusyIndicator::Current().End(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
