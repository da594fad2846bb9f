#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "res/resources.h"

// The popup menus, the viewer's menu bar, both toolbars and the accelerator
// table against the windows' own description, entry by entry.

namespace tavi::res {
namespace {

using platform::MenuItemTemplate;
using platform::ToolbarButtonTemplate;

struct ExpectedEntry {
  std::string text;
  int command;
  bool disabled = false;
  bool checked = false;
};

// The entries of `menu` that are not separators.
std::vector<const MenuItemTemplate*> Entries(const MenuItemTemplate& menu) {
  std::vector<const MenuItemTemplate*> entries;
  for (const MenuItemTemplate& item : menu.items) {
    if (!item.separator) entries.push_back(&item);
  }
  return entries;
}

void ExpectEntries(const MenuItemTemplate& menu, const std::vector<ExpectedEntry>& expected) {
  SCOPED_TRACE(menu.text);
  const std::vector<const MenuItemTemplate*> entries = Entries(menu);
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].text);
    EXPECT_EQ(entries[i]->text, expected[i].text);
    EXPECT_EQ(entries[i]->command, expected[i].command);
    EXPECT_EQ(entries[i]->disabled, expected[i].disabled);
    EXPECT_EQ(entries[i]->checked, expected[i].checked);
    EXPECT_TRUE(entries[i]->items.empty());
  }
}

TEST(PopupMenus, TheNewsboxMenuFirstAndTheNewsBoardsThird) {
  const platform::MenuTemplate* popups = FindMenu(115);
  ASSERT_NE(popups, nullptr);
  ASSERT_EQ(popups->items.size(), 3u);
  ExpectEntries(popups->items[0], {{"&Open\tEnter", 32771}, {"&Close", 32772}});
  EXPECT_TRUE(popups->items[1].items.empty());
  ExpectEntries(popups->items[2], {{"&Open\tEnter", 32813},
                                   {"&Browse\tCtrl+Enter", 32814},
                                   {"&Remove", 32815},
                                   {"Open the &Newsbox", 32821},
                                   {"Select &All", 32776}});
}

TEST(ArticleViewerMenuBar, EveryEntryWithItsCommandAndState) {
  const platform::MenuTemplate* bar = FindMenu(215);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->items.size(), 6u);
  const std::vector<std::string> titles = {"&Article", "&View",   "&File",
                                           "&Tools",   "&Window", "&Help"};
  for (std::size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(bar->items[i].text, titles[i]);
  ExpectEntries(bar->items[0], {{"Forward &Inline", 32778},
                                {"Forward As &Attachment", 32779},
                                {"&Save As File...", 32790},
                                {"&Print...", 32812, true},
                                {"&Close\tAlt+F4", 32782}});
  ExpectEntries(bar->items[1], {{"&Full Article\t[Online]", 32796, false, true},
                                {"&Newsbox Article\t[Offline]", 32797},
                                {"&Modified Article\t[RAM]", 32798, true},
                                {"&Source", 32799}});
  ExpectEntries(bar->items[3], {{"&Edit", 32793, true},
                                {"HTML &Tidy", 32788, true},
                                {"Strip &HTML", 32789, true},
                                {"&Remove Extra Line-Breaks", 32787, true}});
  ExpectEntries(bar->items[4], {{"Ma&ximize", 32791},
                                {"&Restore", 32795},
                                {"Mi&nimize", 32792},
                                {"&Stretch", 32794},
                                {"&Center", 32800}});
  ExpectEntries(bar->items[5], {{"&Topics", 32811}, {"&Release Notes", 32780}, {"&About", 32781}});
}

// The viewer finds the placeholder by its command and replaces it: that
// command must be its alone, and no mailbox command ("&In" is 3, the others
// the host's numbers up to 1000).
TEST(ArticleViewerMenuBar, TheFileMenuHoldsOnePlaceholderOfItsOwnCommand) {
  const platform::MenuTemplate* bar = FindMenu(215);
  ASSERT_NE(bar, nullptr);
  const MenuItemTemplate& file = bar->items[2];
  ASSERT_EQ(file.items.size(), 1u);
  const int placeholder = file.items[0].command;
  EXPECT_GT(placeholder, 1000);
  for (const MenuItemTemplate& menu : bar->items) {
    if (&menu == &file) continue;
    for (const MenuItemTemplate& item : menu.items) EXPECT_NE(item.command, placeholder);
  }
}

void ExpectDistinctKeysAndCommands(const MenuItemTemplate& menu) {
  SCOPED_TRACE(menu.text);
  std::set<char> keys;
  std::set<int> commands;
  for (const MenuItemTemplate& item : menu.items) {
    if (item.separator) continue;
    const std::size_t mark = item.text.find('&');
    ASSERT_NE(mark, std::string::npos) << item.text;
    EXPECT_TRUE(keys.insert(std::tolower(item.text[mark + 1])).second) << item.text;
    if (item.items.empty()) {
      EXPECT_TRUE(commands.insert(item.command).second) << item.text;
    }
    ExpectDistinctKeysAndCommands(item);
  }
}

TEST(Menus, EveryEntryHasAnAccessKeyOfItsOwnAndACommandOfItsOwn) {
  const platform::MenuTemplate* popups = FindMenu(115);
  const platform::MenuTemplate* bar = FindMenu(215);
  ASSERT_NE(popups, nullptr);
  ASSERT_NE(bar, nullptr);
  // The popups' own titles are never shown; their entries are.
  for (const MenuItemTemplate& popup : popups->items) ExpectDistinctKeysAndCommands(popup);
  MenuItemTemplate bar_menus;
  bar_menus.text = "menu bar";
  bar_menus.items = bar->items;
  ExpectDistinctKeysAndCommands(bar_menus);
}

struct ExpectedButton {
  int command;  // 0: a separator
  int icon_id;
  bool dropdown = false;
};

void ExpectButtons(int id, const std::vector<ExpectedButton>& expected) {
  const platform::ToolbarTemplate* toolbar = FindToolbar(id);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->button_size, 32);
  ASSERT_EQ(toolbar->buttons.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ToolbarButtonTemplate& button = toolbar->buttons[i];
    SCOPED_TRACE("button " + std::to_string(i));
    EXPECT_EQ(button.command, expected[i].command);
    EXPECT_EQ(button.icon_id, expected[i].icon_id);
    EXPECT_EQ(button.dropdown, expected[i].dropdown);
    // A separator shows no tip; every button does.
    EXPECT_EQ(button.tooltip.empty(), button.command == 0);
  }
}

TEST(Toolbars, TheNewsBoardsButtonsInOrderWithTheirImages) {
  ExpectButtons(
      293, {{32817, 295}, {32818, 296}, {32819, 297}, {0, 0}, {32820, 298}, {0, 0}, {32824, 1002}});
}

TEST(Toolbars, TheViewersButtonsInOrderWithTransferDroppingAMenu) {
  ExpectButtons(218, {{32801, 226},
                      {32802, 227},
                      {32803, 221},
                      {32804, 222, true},
                      {0, 0},
                      {32805, 223},
                      {32806, 224},
                      {32807, 225},
                      {0, 0},
                      {32808, 1002}});
}

TEST(Accelerators, F1OpensTheHelpAndShiftF1TheAboutBox) {
  const platform::AcceleratorTable* table = FindAcceleratorTable(228);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->entries.size(), 2u);
  EXPECT_EQ(table->entries[0].key, 0x70);
  EXPECT_EQ(table->entries[0].modifiers, 0u);
  EXPECT_EQ(table->entries[0].command, 32810);
  EXPECT_EQ(table->entries[1].key, 0x70);
  EXPECT_EQ(table->entries[1].modifiers, platform::key_modifier::kShift);
  EXPECT_EQ(table->entries[1].command, 32822);
}

TEST(MenusToolbarsAndAccelerators, NoneForAnIdOfAnotherKindOrOfNone) {
  for (const int id : {0, 101, 218, 228}) EXPECT_EQ(FindMenu(id), nullptr) << id;
  for (const int id : {0, 114, 215, 228}) EXPECT_EQ(FindToolbar(id), nullptr) << id;
  for (const int id : {0, 115}) EXPECT_EQ(FindAcceleratorTable(id), nullptr) << id;
}

}  // namespace
}  // namespace tavi::res
