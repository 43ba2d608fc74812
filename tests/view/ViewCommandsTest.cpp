#include "tests/view/ViewToolTestSupport.h"

#include "maze/TemplateKind.h"
#include "res/CommandIds.h"
#include "view/LayerObjectOrder.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kLayerAndViewItems[] = {ID_LAYER_BACKGROUND, ID_LAYER_MAZE,      ID_LAYER_FOREGROUND,
                                       ID_LAYER_TEXT,       ID_SHOW_BACKGROUND, ID_SHOW_MAZE,
                                       ID_SHOW_FOREGROUND,  ID_SHOW_TEXT,       ID_VIEW_SOLUTION};
constexpr UINT kCellTools[] = {ID_TOOL_BLACKEN, ID_TOOL_WHITEN, ID_TOOL_RESET,
                               ID_TOOL_START,   ID_TOOL_STOP,   ID_TOOL_DRAW_SOLUTION};

CCmdUI Query(CGridloomView& view, UINT id) {
    CCmdUI ui(id);
    EXPECT_TRUE(view.RunUpdate(ui)) << id;
    return ui;
}

CLogicalRectTracker LayerItem(const std::string& text, int layer, int state = 0) {
    CLogicalRectTracker o;
    o.SetKind(CLogicalRectTracker::kindTextTransparent);
    o.SetText(text);
    o.SetLayer(layer);
    o.SetSelectionStyle(state);
    o.m_rect = CRect(10, 10, 110, 60);
    return o;
}

std::string Order(const CGridloomDoc& doc) {
    std::string out;
    for (const CLogicalRectTracker& o : doc.layerObjects)
        out += o.GetText();
    return out;
}

std::vector<int> States(const CGridloomDoc& doc) {
    std::vector<int> out;
    for (const CLogicalRectTracker& o : doc.layerObjects)
        out.push_back(o.GetSelectionStyle());
    return out;
}

class ViewCommandsTest : public ViewToolTest {};

} // namespace

TEST_F(ViewCommandsTest, WithoutGridsTheLayerItemsAreOffAndTheToolsWaitForATemplate) {
    doc_ = std::make_unique<CGridloomDoc>(Profile());
    CGridloomView& view = ToolView(*doc_);
    ASSERT_EQ(doc_->GridCount(), 0);
    for (UINT id : kLayerAndViewItems) {
        const CCmdUI ui = Query(view, id);
        EXPECT_FALSE(ui.IsEnabled()) << id;
        EXPECT_EQ(ui.Checked(), 0) << id;
    }
    for (UINT id : kCellTools)
        EXPECT_FALSE(Query(view, id).IsEnabled()) << id;
    EXPECT_FALSE(view.HandlesUpdate(ID_TOOL_GROW)); // the frame enables it
    // Nothing to write yet: greyed, never an enabled command that does nothing.
    EXPECT_FALSE(Query(view, ID_SAVE_EMF).IsEnabled());
    EXPECT_FALSE(Query(view, ID_SAVE_IMAGE_FILE).IsEnabled());

    view_.reset();
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& shown = ToolView(doc);
    for (UINT id : kLayerAndViewItems)
        EXPECT_TRUE(Query(shown, id).IsEnabled()) << id;
    EXPECT_EQ(Query(shown, ID_LAYER_MAZE).Checked(), 1);
    EXPECT_EQ(Query(shown, ID_LAYER_TEXT).Checked(), 0);
    EXPECT_EQ(Query(shown, ID_SHOW_TEXT).Checked(), 1);
    EXPECT_EQ(Query(shown, ID_VIEW_SOLUTION).Checked(), 0);
    for (UINT id : kCellTools)
        EXPECT_TRUE(Query(shown, id).IsEnabled()) << id;
    EXPECT_TRUE(Query(shown, ID_SAVE_EMF).IsEnabled());
    doc.OnGenerateMaze();
    for (UINT id : kCellTools)
        EXPECT_FALSE(Query(shown, id).IsEnabled()) << id;
}

TEST_F(ViewCommandsTest, TogglesFlipTheirFlagsAndRenderWhereTheyShow) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ToolView(doc);
    doc.reRender = 0;
    ASSERT_TRUE(view.RunCommand(ID_SHOW_MAZE));
    EXPECT_FALSE(view.IsLayerVisible(CGridloomView::kLayerMaze));
    EXPECT_EQ(doc.reRender, 1);
    EXPECT_EQ(Query(view, ID_SHOW_MAZE).Checked(), 0);
    ASSERT_TRUE(view.RunCommand(ID_VIEW_SOLUTION));
    EXPECT_TRUE(view.ShowSolution());
    EXPECT_EQ(Query(view, ID_VIEW_SOLUTION).Checked(), 1);

    const int erased = doc.Settings().erasedVisible;
    ASSERT_TRUE(view.RunCommand(ID_SHOW_ERASED_CELLS));
    EXPECT_NE(doc.Settings().erasedVisible != 0, erased != 0);
    EXPECT_EQ(Query(view, ID_SHOW_ERASED_CELLS).Checked(), erased ? 0 : 1);

    doc.reRender = 0;
    const int animate = doc.Settings().animate;
    ASSERT_TRUE(view.RunCommand(ID_ANIMATED_CREATION));
    EXPECT_NE(doc.Settings().animate != 0, animate != 0);
    EXPECT_EQ(doc.reRender, 0);

    const bool box = doc.InfoPane().InfoBoxVisible();
    ASSERT_TRUE(view.RunCommand(ID_INFO_BOX));
    EXPECT_NE(doc.InfoPane().InfoBoxVisible(), box);
    EXPECT_EQ(Query(view, ID_INFO_BOX).Checked(), box ? 0 : 1);
    EXPECT_EQ(doc.reRender, 0);
}

TEST_F(ViewCommandsTest, ActiveLayerMarksItsObjectsAndAdaptsTheToolbar) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    doc.layerObjects = {LayerItem("a", 1), LayerItem("b", 3), LayerItem("c", 4), LayerItem("d", 3)};
    CGridloomView& view = ToolView(doc);
    // The maze layer shows the cell tools; Draw Solution's button stays hidden.
    EXPECT_EQ(toolbar_.hidden_, (std::set<UINT>{ID_DELETE_ITEM, ID_BRING_TO_TOP, ID_MOVE_TO_BOTTOM,
                                                ID_TOOL_DRAW_SOLUTION}));
    EXPECT_EQ(States(doc), (std::vector<int>{0, 0, 0, 0}));

    const int focus = window_.focusRequests;
    ASSERT_TRUE(view.RunCommand(ID_LAYER_FOREGROUND));
    EXPECT_EQ(view.ActiveLayer(), 3);
    EXPECT_EQ(window_.focusRequests, focus + 1);
    EXPECT_EQ(doc.reRender, 1);
    EXPECT_EQ(States(doc), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(toolbar_.hidden_,
              (std::set<UINT>{ID_TOOL_BLACKEN, ID_TOOL_WHITEN, ID_TOOL_RESET, ID_TOOL_GROW,
                              ID_TOOL_START, ID_TOOL_STOP, ID_TOOL_DRAW_SOLUTION}));
    EXPECT_EQ(Query(view, ID_LAYER_FOREGROUND).Checked(), 1);

    // Printing unmarks everything and puts the marks back afterwards.
    doc.layerObjects[1].SetSelectionStyle(LayerObjectOrder::kSelected);
    view.SetActiveLayer(0);
    EXPECT_EQ(States(doc), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(view.ActiveLayer(), 3);
    view.SetActiveLayer(-1);
    EXPECT_EQ(States(doc), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(window_.focusRequests, focus + 1);
}

TEST_F(ViewCommandsTest, DeleteAndTheOrderCommandsWorkOnTheSelection) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ToolView(doc);
    view.SetActiveLayer(CGridloomView::kLayerText);
    HeadlessTextBox box;
    view.SetTextBox(&box);

    // Nothing selected: disabled, and run anyway only repaints.
    doc.layerObjects = {LayerItem("A", 4, 1), LayerItem("B", 4, 1), LayerItem("C", 4, 1)};
    EXPECT_FALSE(Query(view, ID_DELETE_ITEM).IsEnabled());
    EXPECT_FALSE(Query(view, ID_BRING_TO_TOP).IsEnabled());
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(view.DeleteSelected());
    EXPECT_FALSE(view.BringSelectedToTop());
    EXPECT_FALSE(view.MoveSelectedToBottom());
    EXPECT_EQ(Order(doc), "ABC");
    EXPECT_FALSE(doc.IsModified());

    doc.layerObjects[1].SetSelectionStyle(LayerObjectOrder::kSelected);
    EXPECT_TRUE(Query(view, ID_MOVE_TO_BOTTOM).IsEnabled());
    ASSERT_TRUE(view.RunCommand(ID_BRING_TO_TOP));
    EXPECT_EQ(Order(doc), "ACB");
    EXPECT_TRUE(doc.IsModified());
    doc.layerObjects = {LayerItem("A", 4, 1), LayerItem("B", 4, 2), LayerItem("C", 4, 1)};
    ASSERT_TRUE(view.RunCommand(ID_MOVE_TO_BOTTOM));
    EXPECT_EQ(Order(doc), "BAC");
    // Already last (first): the order stays.
    doc.layerObjects = {LayerItem("A", 4, 1), LayerItem("B", 4, 1), LayerItem("C", 4, 2)};
    view.BringSelectedToTop();
    EXPECT_EQ(Order(doc), "ABC");
    doc.layerObjects[2].SetSelectionStyle(1);
    doc.layerObjects[0].SetSelectionStyle(2);
    view.MoveSelectedToBottom();
    EXPECT_EQ(Order(doc), "ABC");

    // Two neighbours selected: both go, and the rest are marked as on the layer again.
    doc.layerObjects = {LayerItem("A", 4, 1), LayerItem("B", 4, 2), LayerItem("C", 4, 2),
                        LayerItem("D", 1, 0), LayerItem("E", 4, 2)};
    doc.reRender = 0;
    box.shown = true;
    ASSERT_TRUE(view.RunCommand(ID_DELETE_ITEM));
    EXPECT_EQ(Order(doc), "AD");
    EXPECT_EQ(States(doc), (std::vector<int>{1, 0}));
    EXPECT_EQ(doc.reRender, 1);
    EXPECT_FALSE(box.IsShown());
}

TEST_F(ViewCommandsTest, ThePointerFollowsTheTopmostObjectOfTheActiveLayer) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ToolView(doc);
    doc.layerObjects = {LayerItem("A", 4), LayerItem("B", 4), LayerItem("C", 3)};
    doc.layerObjects[1].m_rect = CRect(60, 10, 160, 60);
    doc.layerObjects[2].m_rect = CRect(0, 0, 300, 300);
    doc.layerObjects[0].m_nStyle = CRectTracker::resizeInside;
    EXPECT_FALSE(view.ObjectCursorAt({106, 12})); // the maze layer has no objects
    view.SetActiveLayer(CGridloomView::kLayerText);
    // A's corner handle lies under B, which is drawn over it and takes the press.
    EXPECT_EQ(view.ObjectCursorAt({106, 12}), CRectTracker::Cursor::sizeAll);
    EXPECT_EQ(view.ObjectCursorAt({12, 12}), CRectTracker::Cursor::sizeNWSE);
    EXPECT_FALSE(view.ObjectCursorAt({200, 200}));
    // The selected one shows its handles; the scroll position moves the page under the
    // pointer.
    doc.layerObjects[1].SetSelectionStyle(LayerObjectOrder::kSelected);
    doc.layerObjects[1].m_nStyle = CRectTracker::solidLine | CRectTracker::resizeOutside;
    window_.scroll = CPoint(50, 0);
    EXPECT_EQ(view.ObjectCursorAt({112, 62}), CRectTracker::Cursor::sizeNWSE);
    window_.scroll = CPoint();
}
