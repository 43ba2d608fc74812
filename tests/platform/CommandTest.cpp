#include "platform/CCmdTarget.h"
#include "platform/CDocument.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Target : public CCmdTarget {
public:
    explicit Target(std::string name, std::string& log) : name_(std::move(name)), log_(log) {}
    void Handle(UINT id) {
        OnCommand(id, [this, id] { log_ += name_ + ":" + std::to_string(id) + " "; });
    }
    void Update(UINT id, bool enable) {
        OnUpdate(id, [enable](CCmdUI& ui) {
            ui.Enable(enable);
            ui.SetCheck(1);
        });
    }

private:
    std::string name_;
    std::string& log_;
};

class CountingView : public CView {
public:
    void OnUpdate(CView*, long hint) override { updates += hint; }
    long updates = 0;
};

} // namespace

TEST(CCommandRouter, RoutesViewDocumentFrameApp) {
    std::string log;
    Target view("view", log), doc("doc", log), frame("frame", log), app("app", log);
    CCommandRouter router;
    router.SetView(&view);
    router.SetDocument(&doc);
    router.SetFrame(&frame);
    router.SetApp(&app);
    app.Handle(1);
    frame.Handle(1);
    doc.Handle(2);
    app.Handle(2);
    view.Handle(3);
    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.Execute(2));
    EXPECT_TRUE(router.Execute(3));
    EXPECT_EQ(log, "frame:1 doc:2 view:3 ");
}

TEST(CCommandRouter, DisabledCommandsNeverRun) {
    std::string log;
    Target view("view", log), doc("doc", log);
    CCommandRouter router;
    router.SetView(&view);
    router.SetDocument(&doc);
    doc.Handle(10);
    // An update handler earlier in the route decides, even for a later handler.
    view.Update(10, false);
    EXPECT_FALSE(router.Query(10).IsEnabled());
    EXPECT_FALSE(router.Execute(10));
    EXPECT_EQ(log, "");
    // No handler anywhere: disabled.
    EXPECT_FALSE(router.Query(11).IsEnabled());
    EXPECT_FALSE(router.Execute(11));
    // An update handler without a command handler enables nothing to run.
    doc.Update(12, true);
    EXPECT_TRUE(router.Query(12).IsEnabled());
    EXPECT_EQ(router.Query(12).Checked(), 1);
    EXPECT_FALSE(router.Execute(12));
}

TEST(CDocument, UpdatesEveryViewButTheSender) {
    CountingView a, b;
    {
        CDocument doc;
        a.SetDocument(&doc);
        b.SetDocument(&doc);
        doc.UpdateAllViews(&a, 5);
        EXPECT_EQ(a.updates, 0);
        EXPECT_EQ(b.updates, 5);
        b.SetDocument(nullptr);
        doc.UpdateAllViews(nullptr, 1);
        EXPECT_EQ(a.updates, 1);
        EXPECT_EQ(b.updates, 5);
    }
    // The document detached its views when it went away.
    EXPECT_EQ(a.GetDocument(), nullptr);
}

TEST(MessageBox, ScriptedAnswersThenDefaults) {
    ScriptedMessageBox box;
    IMessageBox::Installation installed(box);
    box.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox("Delete?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("Delete?", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("Go?", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Really?", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    ASSERT_EQ(box.ShownBoxes().size(), 4u);
    EXPECT_EQ(box.ShownBoxes()[0].caption, "Orlimber STD");
}
