#include "tests/view/ViewToolTestSupport.h"

#include "image/core/CRaster.h"
#include "platform/FontDialog.h"
#include "res/CommandIds.h"
#include "view/LayerObjectOrder.h"

#include <memory>
#include <vector>

namespace {

using Button = ViewMouseController::Button;

FontChoice Verdana14Red() {
    FontChoice c;
    c.face = "Verdana";
    c.tenths = 140;
    c.bold = true;
    c.underline = true;
    c.colour = RGB(200, 10, 20);
    return c;
}

// The text layer of a fresh Box template, with a scripted font dialog, a fake clipboard and
// a text box that remembers what it was told.
class TextToolTest : public TextClipViewTest {
protected:
    void SetUp() override {
        TextClipViewTest::SetUp();
        view_->SetActiveLayer(CGridloomView::kLayerText);
        Settle();
    }

    // As after the window's paint: the page drawn, nothing changed since.
    void Settle() {
        view_->PaintScreen();
        doc_->SetModifiedFlag(false);
    }

    void Press(CPoint from, CPoint to, Button button = Button::Left) {
        view_->Mouse().ButtonDown(button, 0, from);
        view_->Mouse().Move(0, to);
        view_->Mouse().ButtonUp(button, 0, to);
    }
    void Click(CPoint at, Button button = Button::Left) { Press(at, at, button); }
    // A new text object through a band from `from` to `to`, typed and ended.
    CLogicalRectTracker& MakeText(CPoint from, CPoint to, const std::string& text) {
        dialog_.Accept();
        Press(from, to);
        box_.text = text;
        view_->EndTextEditing();
        return doc_->layerObjects.back();
    }

    ScriptedFontDialog dialog_;
    IFontDialog::Installation dialogInstalled_{dialog_};
};

} // namespace

TEST_F(TextToolTest, ABandWithoutSizeOrACancelledDialogAddsNothing) {
    // A click without a drag: no dialog, no object, but the document counts as changed.
    Click({50, 50});
    EXPECT_TRUE(dialog_.Requests().empty());
    EXPECT_TRUE(doc_->layerObjects.empty());
    EXPECT_TRUE(doc_->IsModified());

    // Cancelled: nothing added, the modified flag as it was, the profile untouched.
    Settle();
    dialog_.Cancel();
    Press({50, 50}, {200, 120});
    ASSERT_EQ(dialog_.Requests().size(), 1u);
    EXPECT_TRUE(doc_->layerObjects.empty());
    EXPECT_FALSE(doc_->IsModified());
    EXPECT_FALSE(box_.shown);
    std::vector<BYTE> stored;
    EXPECT_FALSE(Profile().GetProfileBinary("FONT", "CF", stored));
}

TEST_F(TextToolTest, ANewObjectIsMadeEditedAndItsFontRemembered) {
    // Nothing stored yet: the dialog starts at its default, black.
    clipboard_.text = "from the clipboard";
    dialog_.Choose(Verdana14Red());
    Press({40, 30}, {240, 130});
    ASSERT_EQ(dialog_.Requests().size(), 1u);
    EXPECT_FALSE(dialog_.Requests()[0].initial);
    EXPECT_EQ(dialog_.Requests()[0].colour, 0u);
    EXPECT_EQ(dialog_.Requests()[0].flags, DWORD{CF_EFFECTS | CF_PRINTERFONTS});

    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    const CLogicalRectTracker& o = doc_->layerObjects[0];
    EXPECT_EQ(o.GetKind(), CLogicalRectTracker::kindTextTransparent);
    EXPECT_EQ(o.GetLayer(), CGridloomView::kLayerText);
    EXPECT_EQ(o.GetSelectionStyle(), LayerObjectOrder::kSelected);
    EXPECT_EQ(o.GetTextColor(), RGB(200, 10, 20));
    EXPECT_EQ(o.m_rect, CRect(40, 30, 240, 130));
    // 96 pixels to the inch: 200 pixels are 2083 thousandths.
    EXPECT_EQ(o.GetLogicalRect().Width(), 2083);
    EXPECT_EQ(o.GetLogicalRect().top, -313);
    EXPECT_TRUE(doc_->IsModified());

    // The box lies over the band, 3 pixels larger, in the chosen look, with the clipboard's
    // text; the object takes that text when editing ends.
    EXPECT_TRUE(box_.shown);
    EXPECT_EQ(box_.placed, CRect(37, 27, 243, 133));
    EXPECT_EQ(box_.style.font.lfHeight, -19); // 14 pt
    EXPECT_EQ(box_.style.twips, 280);
    EXPECT_EQ(box_.style.font.FaceName(), "Verdana");
    EXPECT_EQ(box_.style.colour, RGB(200, 10, 20));
    EXPECT_EQ(box_.text, "from the clipboard");
    box_.text += "!";
    doc_->reRender = 0;
    Click({600, 500}, Button::Right); // any press ends the editing first
    EXPECT_EQ(doc_->layerObjects[0].GetText(), "from the clipboard!");
    EXPECT_EQ(doc_->layerObjects[0].GetSelectionStyle(), LayerObjectOrder::kOnLayer);
    EXPECT_EQ(doc_->reRender, 1);
    EXPECT_FALSE(box_.shown);

    // The profile holds the records; a program started anew offers the same font and colour.
    CProfile reopened(ProfilePath());
    const FontDialogRequest next = TextTool::NewObjectRequest(reopened);
    ASSERT_TRUE(next.initial);
    EXPECT_EQ(next.initial->FaceName(), "Verdana");
    EXPECT_EQ(next.initial->lfWeight, 700);
    EXPECT_EQ(next.initial->lfUnderline, 1);
    EXPECT_EQ(next.colour, RGB(200, 10, 20));
    dialog_.Accept();
    Press({300, 300}, {400, 360});
    ASSERT_EQ(dialog_.Requests().size(), 2u);
    EXPECT_EQ(dialog_.Requests()[1].initial, next.initial);
    EXPECT_EQ(doc_->layerObjects.back().GetFont()->choose.iPointSize, 140);
}

TEST_F(TextToolTest, TwelvePointsAreSixteenPixelsAnd240Twips) {
    FontDialogRequest fresh;
    const FontDialogAnswer a = IFontDialog::Answer(FontChoice::From(fresh), fresh);
    EXPECT_EQ(a.choose.iPointSize, 120);
    EXPECT_EQ(a.log.lfHeight, -16);
    EXPECT_EQ(a.log.FaceName(), "Arial");
    EXPECT_EQ(a.choose.rgbColors, 0u);
    // What the dialog is given back comes out unchanged.
    FontDialogRequest again;
    again.initial = a.log;
    again.colour = RGB(1, 2, 3);
    const FontChoice c = FontChoice::From(again);
    EXPECT_EQ(c.tenths, 120);
    EXPECT_EQ(c.face, "Arial");
    EXPECT_EQ(IFontDialog::Answer(c, again).log, a.log);
    EXPECT_EQ(IFontDialog::Answer(c, again).choose.Flags & CF_INITTOLOGFONTSTRUCT,
              DWORD{CF_INITTOLOGFONTSTRUCT});

    MakeText({10, 10}, {100, 60}, "x");
    EXPECT_EQ(box_.style.font.lfHeight, -16);
    EXPECT_EQ(box_.style.twips, 240);
    // Hostile heights stay inside the dialog's range.
    LOGFONT huge;
    huge.lfHeight = LONG(0x80000000);
    FontDialogRequest wild;
    wild.initial = huge;
    EXPECT_EQ(FontChoice::From(wild).tenths, FontChoice::kMaxTenths);
}

TEST_F(TextToolTest, StoredRecordsOfAnotherLengthAreIgnored) {
    MakeText({10, 10}, {100, 60}, "x");
    ASSERT_TRUE(TextTool::NewObjectRequest(Profile()).initial);
    Profile().WriteProfileBinary("FONT", "LF", std::vector<BYTE>(59, 0x41));
    EXPECT_FALSE(TextTool::NewObjectRequest(Profile()).initial);
    Profile().WriteProfileBinary("FONT", "LF", std::vector<BYTE>(61, 0x41));
    EXPECT_FALSE(TextTool::NewObjectRequest(Profile()).initial);
    Profile().WriteProfileBinary("FONT", "LF", std::vector<BYTE>(60, 0x41));
    Profile().WriteProfileBinary("FONT", "CF", {});
    const FontDialogRequest r = TextTool::NewObjectRequest(Profile());
    EXPECT_FALSE(r.initial);
    EXPECT_EQ(r.colour, 0u);
}

TEST_F(TextToolTest, ARightPressRestylesTheObjectAndLeavesTheProfile) {
    CLogicalRectTracker& made = MakeText({50, 50}, {250, 150}, "hello");
    const auto storedBefore = [&] {
        std::vector<BYTE> cf;
        Profile().GetProfileBinary("FONT", "CF", cf);
        return cf;
    }();
    (void)made;

    // Cancelled: nothing changes and nothing is marked.
    Settle();
    dialog_.Cancel();
    Click({100, 100}, Button::Right);
    ASSERT_EQ(dialog_.Requests().size(), 2u);
    EXPECT_EQ(dialog_.Requests()[1].initial->lfHeight, -16);
    EXPECT_EQ(doc_->layerObjects[0].GetFont()->choose.iPointSize, 120);
    EXPECT_FALSE(doc_->IsModified());

    dialog_.Choose(Verdana14Red());
    Click({100, 100}, Button::Right);
    const CLogicalRectTracker& o = doc_->layerObjects[0];
    EXPECT_EQ(o.GetFont()->log.FaceName(), "Verdana");
    EXPECT_EQ(o.GetFont()->choose.iPointSize, 140);
    EXPECT_EQ(o.GetTextColor(), RGB(200, 10, 20));
    EXPECT_EQ(o.GetText(), "hello");
    EXPECT_EQ(o.m_rect, CRect(50, 50, 250, 150));
    EXPECT_TRUE(doc_->IsModified());
    EXPECT_EQ(doc_->reRender, 1);
    EXPECT_FALSE(box_.shown);
    std::vector<BYTE> cf;
    Profile().GetProfileBinary("FONT", "CF", cf);
    EXPECT_EQ(cf, storedBefore);

    // Beside every object: no dialog, but the press still counts as a change.
    doc_->SetModifiedFlag(false);
    Click({600, 600}, Button::Right);
    EXPECT_EQ(dialog_.Requests().size(), 3u);
    EXPECT_TRUE(doc_->IsModified());
}

TEST_F(TextToolTest, APressEditsTheTopmostTextObjectUnderIt) {
    MakeText({50, 50}, {250, 150}, "under");
    // Drawn from outside the first one, over it.
    MakeText({330, 230}, {130, 110}, "over");
    // A picture a file put on the text layer has no font: it is passed over.
    CLogicalRectTracker picture;
    picture.SetImage(std::make_unique<CRaster>(4, 4, 24), CLogicalRectTracker::kindPicture);
    picture.SetLayer(CGridloomView::kLayerText);
    picture.m_rect = CRect(0, 0, 400, 400);
    doc_->layerObjects.push_back(picture);
    view_->SetActiveLayer(-1);
    ASSERT_EQ(dialog_.Requests().size(), 2u);
    ASSERT_EQ(doc_->layerObjects[1].m_rect, CRect(130, 110, 330, 230));

    window_.scroll = CPoint(20, 30);
    Click({160 - 20, 130 - 30});
    EXPECT_EQ(doc_->layerObjects[1].GetSelectionStyle(), LayerObjectOrder::kSelected);
    EXPECT_EQ(doc_->layerObjects[0].GetSelectionStyle(), LayerObjectOrder::kOnLayer);
    EXPECT_EQ(box_.text, "over");
    EXPECT_TRUE(box_.shown);
    // Scrolled, the box still lies over the object, 3 pixels larger.
    EXPECT_EQ(box_.placed, CRect(130 - 20 - 3, 110 - 30 - 3, 330 - 20 + 3, 230 - 30 + 3));
    window_.scroll = CPoint(0, 0);
    view_->PlaceTextBox();
    EXPECT_EQ(box_.placed, CRect(127, 107, 333, 233));
    EXPECT_EQ(dialog_.Requests().size(), 2u); // no dialog for an existing object

    // Moved by its middle: the rectangles follow the pointer.
    Press({200, 150}, {210, 170});
    const CLogicalRectTracker& moved = doc_->layerObjects[1];
    EXPECT_EQ(moved.m_rect, CRect(140, 130, 340, 250));
    EXPECT_EQ(moved.GetLogicalRect().left, MulDiv(140, 1000, 96));
    EXPECT_EQ(moved.GetLogicalRect().top, -MulDiv(130, 1000, 96));
    EXPECT_EQ(box_.text, "over");
}

TEST_F(TextToolTest, TextTypedBeforeACommandIsPartOfIt) {
    CCommandRouter router;
    router.SetView(view_.get());
    router.SetDocument(doc_.get());
    router.SetBeforeExecute([this](UINT id) { view_->BeforeCommand(id); });
    dialog_.Accept();
    Press({10, 10}, {200, 100});
    box_.text = "typed";
    ASSERT_TRUE(router.Execute(ID_EDIT_COPY));
    EXPECT_EQ(doc_->layerObjects[0].GetText(), "typed");
    EXPECT_FALSE(box_.shown);

    // A layer change ends editing too; a stored selection without an open box keeps its text.
    Click({50, 50});
    box_.text = "again";
    view_->SetActiveLayer(CGridloomView::kLayerMaze);
    EXPECT_EQ(doc_->layerObjects[0].GetText(), "again");
    doc_->layerObjects[0].SetSelectionStyle(LayerObjectOrder::kSelected);
    box_.text = "stray";
    view_->EndTextEditing();
    EXPECT_EQ(doc_->layerObjects[0].GetText(), "again");
}
