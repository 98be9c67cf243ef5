// The menu, key and button tables agree with one another: every key and button reaches a menu
// command, and every shortcut label names a key that sends that command, apart from the tool
// labels, which count in the menu's order while the keys count in the palette's.
#include "res/menus.h"

#include <gtest/gtest.h>

#include "res/strings.h"

#include <set>
#include <string>

namespace {

using namespace zk::res;

std::set<std::string> KeysOf(int id) {
    std::set<std::string> keys;
    for (const Accelerator& a : kAccelerators)
        if (a.id == id)
            keys.insert(std::string(a.keys));
    return keys;
}

std::string ToolKey(int index) {
    return "Ctrl+" + std::to_string((index + 1) % 10);
}

TEST(Menus, EveryKeyAndButtonReachesAMenuCommand) {
    int depth = 0;
    for (const MenuEntry& e : kMainMenu) {
        EXPECT_TRUE(e.kind == MenuEntryKind::Submenu || depth > 0) << "an entry outside the menus";
        depth += e.kind == MenuEntryKind::Submenu ? 1 : e.kind == MenuEntryKind::End ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0) << "a menu without its End";

    for (const Accelerator& a : kAccelerators)
        EXPECT_NE(FindMenuItem(a.id), nullptr) << a.keys;
    for (int id : kMainToolBar)
        EXPECT_TRUE(id == 0 || FindMenuItem(id)) << id;
    for (int id : kToolPalette)
        EXPECT_NE(FindMenuItem(id), nullptr) << id;
    for (int id : kSizeBar)
        EXPECT_NE(FindMenuItem(id), nullptr) << id;
}

TEST(Menus, LabelsNameTheKeysExceptThatToolsCountInTheirOwnOrders) {
    std::set<int> tools(std::begin(kToolPalette), std::end(kToolPalette));
    int toolIndex = 0;
    for (const MenuEntry& e : kMainMenu) {
        if (e.kind != MenuEntryKind::Item)
            continue;
        if (tools.count(e.id)) {
            EXPECT_EQ(e.label, ToolKey(toolIndex)) << e.text;
            ++toolIndex;
        } else if (!e.label.empty()) {
            EXPECT_EQ(KeysOf(e.id).count(std::string(e.label)), 1u) << e.text << " " << e.label;
        }
    }
    EXPECT_EQ(toolIndex, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(KeysOf(kToolPalette[i]), std::set<std::string>{ToolKey(i)}) << i;
}

// Every menu command says in the status bar what it does and has a tool tip, also those that no
// bar shows yet.
TEST(Menus, EveryItemHasItsPromptAndTip) {
    for (const MenuEntry& e : kMainMenu) {
        if (e.kind != MenuEntryKind::Item)
            continue;
        EXPECT_FALSE(CommandPrompt(e.id).isEmpty()) << e.text;
        EXPECT_FALSE(CommandTip(e.id).isEmpty()) << e.text;
    }
}

}  // namespace
