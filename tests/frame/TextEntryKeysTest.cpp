#include "frame/TextEntryKeys.h"
#include "platform/VirtualKeys.h"
#include "res/AcceleratorTable.h"

#include <gtest/gtest.h>

namespace {

KeyStroke Stroke(WORD key, bool control, bool shift = false, bool alt = false) {
    KeyStroke k;
    k.key = key;
    k.control = control;
    k.shift = shift;
    k.alt = alt;
    return k;
}

} // namespace

TEST(TextEntryKeysTest, OnlyTheEditingStrokesOfTheKeyTableAreLeftToATextEntry) {
    // Each of these is also an accelerator: the text entry must see it first.
    const KeyStroke editing[] = {Stroke('C', true),
                                 Stroke('X', true),
                                 Stroke('V', true),
                                 Stroke('Z', true),
                                 Stroke('A', true),
                                 Stroke(VK_INSERT, true),
                                 Stroke(VK_INSERT, false, true),
                                 Stroke(VK_DELETE, false, true)};
    for (const KeyStroke& k : editing) {
        EXPECT_TRUE(TextEntryKeys::BelongToTextEntry(k)) << k.key;
        EXPECT_NE(AcceleratorTable::Find(k), 0u) << k.key;
    }
    // The drawing's other commands keep their keys, also with the text box focused.
    const KeyStroke commands[] = {Stroke('S', true),
                                  Stroke('P', true),
                                  Stroke('4', true),
                                  Stroke('X', false, false, true),
                                  Stroke('C', true, false, true),
                                  Stroke('V', true, true),
                                  Stroke(VK_DELETE, false)};
    for (const KeyStroke& k : commands)
        EXPECT_FALSE(TextEntryKeys::BelongToTextEntry(k)) << k.key;
}
