#include "res/CommandTable.h"
#include "platform/VirtualKeys.h"
#include "res/AcceleratorTable.h"
#include "res/CommandIds.h"
#include "res/MenuResource.h"
#include "res/ToolbarArt.h"
#include "res/ToolbarLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>

namespace {

void CountMenuIds(const std::vector<MenuItem>& items, std::map<UINT, int>& seen) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command)
            ++seen[item.id];
        CountMenuIds(item.items, seen);
    }
}

std::map<UINT, int> MenuIds() {
    std::map<UINT, int> seen;
    CountMenuIds(MenuResource::MainMenuBar(), seen);
    return seen;
}

const MenuItem* FindItem(const std::vector<MenuItem>& items, UINT id) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command && item.id == id)
            return &item;
        if (const MenuItem* found = FindItem(item.items, id))
            return found;
    }
    return nullptr;
}

std::string MenuText(UINT id) {
    const MenuItem* item = FindItem(MenuResource::MainMenuBar(), id);
    return item ? item->text : std::string("<missing>");
}

KeyStroke Key(WORD key, bool control, bool alt, bool shift) {
    KeyStroke k;
    k.key = key;
    k.control = control;
    k.alt = alt;
    k.shift = shift;
    return k;
}

} // namespace

TEST(CommandTable, EveryCommandIsListedOnceAndReachable) {
    std::set<UINT> ids;
    for (const CommandInfo& c : CommandTable::All()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_EQ(CommandTable::Find(c.id), &c) << c.id;
    }
    EXPECT_EQ(CommandTable::Find(32770), nullptr);
    EXPECT_EQ(CommandTable::Find(0), nullptr);

    // Each menu command appears once, and every command has a menu item, a button or a key.
    std::set<UINT> reachable;
    for (const auto& [id, count] : MenuIds()) {
        EXPECT_EQ(count, 1) << id;
        EXPECT_NE(CommandTable::Find(id), nullptr) << id;
        reachable.insert(id);
    }
    for (auto bar : {ToolbarLayout::Standard(), ToolbarLayout::Edit()})
        for (UINT id : bar)
            if (id != 0) {
                EXPECT_NE(CommandTable::Find(id), nullptr) << id;
                reachable.insert(id);
            }
    for (const ACCEL& a : AcceleratorTable::Main()) {
        EXPECT_NE(CommandTable::Find(a.cmd), nullptr) << a.cmd;
        reachable.insert(a.cmd);
    }
    // Solve Maze has neither item nor key: gestures reach it.
    reachable.insert(ID_SOLVE_MAZE);
    // The File menu grows the later recent-file items as files are opened.
    for (UINT id : {ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4})
        reachable.insert(id);
    EXPECT_EQ(reachable, ids);
}

TEST(CommandTable, MenusHoldTheProgramsTexts) {
    const auto& bar = MenuResource::MainMenuBar();
    ASSERT_EQ(bar.size(), 5u);
    EXPECT_EQ(bar[0].text, "&File");
    EXPECT_EQ(bar[1].text, "&Edit");
    EXPECT_EQ(bar[2].text, "Maze Options");
    EXPECT_EQ(bar[3].text, "&View");
    EXPECT_EQ(bar[4].text, "&Help");
    EXPECT_EQ(bar[0].items.size(), 19u);
    EXPECT_EQ(bar[0].items.back().id, ID_APP_EXIT);
    EXPECT_EQ(MenuText(ID_FILE_NEW), "&New\tCtrl+N");
    EXPECT_EQ(MenuText(ID_EDIT_CUT), "Cu&t\tCtrl+X");
    EXPECT_EQ(MenuText(ID_SET_PEN_WIDTH), "Set &Printing Pen Width");
    EXPECT_EQ(MenuText(ID_HOME_PAGE), "Goto ORLIMBER &HOME PAGE");
    EXPECT_EQ(MenuText(ID_LAYER_FOREGROUND), "ForeGround Imgs");
    EXPECT_EQ(MenuText(ID_SHOW_FOREGROUND), "ForeGround Imgs");
    const MenuItem& layers = bar[2].items.back();
    EXPECT_EQ(layers.kind, MenuItem::Kind::Popup);
    EXPECT_EQ(layers.text, "Active Layer");
    EXPECT_EQ(layers.items.size(), 4u);
}

TEST(CommandTable, PromptsSplitIntoStatusTextAndTooltip) {
    EXPECT_EQ(CommandTable::StatusText(ID_TOOL_GROW), "Grow Maze from \"HERE\"");
    EXPECT_EQ(CommandTable::Tooltip(ID_TOOL_GROW), "Grow From Selector");
    EXPECT_EQ(CommandTable::Tooltip(ID_TOOL_STOP), "STOP  (Left Hidden, Right Visable)");
    EXPECT_EQ(CommandTable::StatusText(ID_APPLY_BMP_MASK), "Apply Mask");
    EXPECT_EQ(CommandTable::StatusText(ID_APP_EXIT),
              "Quit the application; prompts to save documents");
    // A prompt without a line feed has no tooltip; some commands have no prompt at all.
    EXPECT_EQ(CommandTable::StatusText(ID_SAVE_EMF), "Save current image as a EMF file");
    EXPECT_EQ(CommandTable::Tooltip(ID_SAVE_EMF), "");
    EXPECT_EQ(CommandTable::StatusText(ID_3D_RENDERING), "");
    EXPECT_EQ(CommandTable::StatusText(4242), "");
    // Every button has a tooltip.
    for (auto bar : {ToolbarLayout::Standard(), ToolbarLayout::Edit()})
        for (UINT id : bar)
            if (id != 0) {
                EXPECT_NE(CommandTable::Tooltip(id), "") << id;
            }
}

TEST(CommandTable, CommandsWithoutAHandlerBelongToNobody) {
    for (UINT id : {ID_EDIT_CUT, ID_3D_RENDERING, ID_REGENERATE_PATH, ID_UNHANDLED_CTRL_F4})
        EXPECT_EQ(CommandTable::Find(id)->owner, CommandOwner::None) << id;
    for (const CommandInfo& c : CommandTable::All())
        if (c.owner == CommandOwner::None) {
            EXPECT_EQ(c.enabler, CommandOwner::None) << c.id;
        }
}

TEST(AcceleratorTable, KeysAreUniqueAndFindTheirCommands) {
    const auto keys = AcceleratorTable::Main();
    for (size_t i = 0; i < keys.size(); ++i)
        for (size_t j = i + 1; j < keys.size(); ++j)
            EXPECT_FALSE(keys[i].key == keys[j].key && keys[i].fVirt == keys[j].fVirt)
                << keys[i].cmd << " " << keys[j].cmd;

    EXPECT_EQ(AcceleratorTable::Find(Key('X', true, false, false)), ID_EDIT_CUT);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_DELETE, false, false, true)), ID_EDIT_CUT);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_INSERT, true, false, false)), ID_EDIT_COPY);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_INSERT, false, false, true)), ID_EDIT_PASTE);
    EXPECT_EQ(AcceleratorTable::Find(Key('C', true, true, false)), ID_CLEAR_MAZE);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_SPACE, false, true, false)), ID_MAKE_MAZE);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_ESCAPE, false, true, false)), ID_MAZE_SETUP);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_F6, false, false, false)), ID_NEXT_PANE);
    EXPECT_EQ(AcceleratorTable::Find(Key(VK_F6, false, false, true)), ID_PREV_PANE);
    // Virtual keys need the exact modifiers.
    EXPECT_EQ(AcceleratorTable::Find(Key('1', true, false, false)), ID_LAYER_BACKGROUND);
    EXPECT_EQ(AcceleratorTable::Find(Key('1', true, false, true)), ID_SHOW_BACKGROUND);
    EXPECT_EQ(AcceleratorTable::Find(Key('5', true, false, true)), ID_VIEW_SOLUTION);
    EXPECT_EQ(AcceleratorTable::Find(Key('5', true, false, false)), 0u);
    EXPECT_EQ(AcceleratorTable::Find(Key('N', true, false, true)), 0u);
    EXPECT_EQ(AcceleratorTable::Find(Key('N', false, false, false)), 0u);
}

TEST(AcceleratorTable, StartAndStopWorkWithAndWithoutShift) {
    for (bool shift : {false, true}) {
        EXPECT_EQ(AcceleratorTable::Find(Key(',', false, true, shift)), ID_TOOL_START);
        EXPECT_EQ(AcceleratorTable::Find(Key('<', false, true, shift)), ID_TOOL_START);
        EXPECT_EQ(AcceleratorTable::Find(Key('.', false, true, shift)), ID_TOOL_STOP);
        EXPECT_EQ(AcceleratorTable::Find(Key('>', false, true, shift)), ID_TOOL_STOP);
    }
    EXPECT_EQ(AcceleratorTable::Find(Key(',', false, false, false)), 0u);
    EXPECT_EQ(AcceleratorTable::Find(Key(',', true, true, false)), 0u);
}

TEST(ToolbarLayout, RowsHoldTheirButtonsInOrder) {
    const auto standard = ToolbarLayout::Standard();
    EXPECT_EQ(
        std::vector<UINT>(standard.begin(), standard.end()),
        (std::vector<UINT>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                           ID_EDIT_PASTE, 0, ID_FILE_PRINT, ID_APP_ABOUT, 0, ID_LAYER_BACKGROUND,
                           ID_LAYER_MAZE, ID_LAYER_FOREGROUND, ID_LAYER_TEXT}));
    const auto edit = ToolbarLayout::Edit();
    EXPECT_EQ(
        std::vector<UINT>(edit.begin(), edit.end()),
        (std::vector<UINT>{ID_MAZE_SETUP, 0, ID_DELETE_ITEM, ID_TOOL_RESET, ID_TOOL_BLACKEN,
                           ID_TOOL_WHITEN, 0, ID_BRING_TO_TOP, ID_MOVE_TO_BOTTOM, ID_TOOL_START,
                           ID_TOOL_STOP, 0, ID_TOOL_DRAW_SOLUTION, ID_TOOL_GROW}));
}

TEST(ToolbarArt, EveryButtonHasItsOwnPicture) {
    std::vector<std::vector<BYTE>> seen;
    const auto check = [&](std::span<const UINT> bar, int width, int height) {
        for (UINT id : bar) {
            if (id == 0)
                continue;
            const RgbaPicture pic = ToolbarArt::Draw(id);
            ASSERT_EQ(pic.width, width) << id;
            ASSERT_EQ(pic.height, height) << id;
            ASSERT_EQ(pic.rgba.size(), static_cast<size_t>(width * height * 4)) << id;
            int opaque = 0;
            std::set<std::array<BYTE, 4>> colours;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const BYTE* p = pic.Pixel(x, y);
                    opaque += p[3] > 128;
                    colours.insert({p[0], p[1], p[2], p[3]});
                }
            // Something to see, drawn in more than one colour.
            EXPECT_GT(opaque, width * height / 10) << id;
            EXPECT_GE(colours.size(), 3u) << id;
            for (const auto& other : seen)
                EXPECT_NE(other, pic.rgba) << id;
            seen.push_back(pic.rgba);
        }
    };
    check(ToolbarLayout::Standard(), 16, 15);
    check(ToolbarLayout::Edit(), 40, 40);
    EXPECT_TRUE(ToolbarArt::Draw(ID_MAKE_MAZE).Empty());
}
