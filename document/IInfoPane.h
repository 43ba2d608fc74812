#pragma once

// What the document needs of the information pane below the maze, and the application's
// flag that says whether the pane shows pages at all.
class IInfoPane {
public:
    virtual ~IInfoPane() = default;
    // Shrinks the pane to its minimum (a new maze or rebuilt grids).
    virtual void Collapse() = 0;
    // Shows the next page at once (the pane's page timer fires after 1 ms).
    virtual void ShowNextPageSoon() = 0;
    // Runs the pane's first update again (a new or opened document).
    virtual void Restart() = 0;
    virtual bool InfoBoxVisible() const = 0;
    virtual void SetInfoBoxVisible(bool visible) = 0;
};

// The pane of a document without windows: keeps the flag and does nothing else.
class HeadlessInfoPane : public IInfoPane {
public:
    explicit HeadlessInfoPane(bool visible = true) : visible_(visible) {}
    void Collapse() override { ++collapses; }
    void ShowNextPageSoon() override { ++pageRequests; }
    void Restart() override { ++restarts; }
    bool InfoBoxVisible() const override { return visible_; }
    void SetInfoBoxVisible(bool visible) override { visible_ = visible; }

    int collapses = 0;
    int pageRequests = 0;
    int restarts = 0;

private:
    bool visible_;
};
