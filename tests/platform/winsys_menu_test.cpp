#include "platform/winsys_menu.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::Notice;

constexpr int kForwardInline = 32778;
constexpr int kPrint = 32812;
constexpr int kClose = 32782;
constexpr int kFullArticle = 32796;
constexpr int kSource = 32799;

// Part of the article viewer's menu bar.
MenuTemplate ViewerMenu() {
  return {215,
          {{"&Article",
            0,
            false,
            false,
            false,
            {{"Forward &Inline", kForwardInline, false, false, false, {}},
             {"&Print...", kPrint, false, true, false, {}},
             {"", 0, true, false, false, {}},
             {"&Close\tAlt+F4", kClose, false, false, false, {}}}},
           {"&View",
            0,
            false,
            false,
            false,
            {{"&Full Article\t[Online]", kFullArticle, false, false, true, {}},
             {"&Source", kSource, false, false, false, {}}}},
           {"&File", 0, false, false, false, {}}}};
}

class MenuTest : public testing::WinsysTest {};

TEST_F(MenuTest, AMenuFromATemplateHasItsSubmenusAndTheirStates) {
  const MenuHandle bar = CreateMenuFromTemplate(ViewerMenu());

  ASSERT_EQ(GetMenuEntryCount(bar), 3);
  const MenuHandle article = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuEntryCount(article), 4);
  EXPECT_EQ(GetMenuEntry(article, 0)->text, "Forward &Inline");
  EXPECT_TRUE(GetMenuEntry(article, 1)->disabled);
  EXPECT_TRUE(GetMenuEntry(article, 2)->separator);
  EXPECT_EQ(GetMenuEntry(article, 3)->command, kClose);
  EXPECT_TRUE(FindMenuCommand(bar, kFullArticle)->checked);
  // An entry that is neither a command nor a separator opens a submenu,
  // empty until the program fills it.
  EXPECT_EQ(GetMenuEntryCount(GetSubMenu(bar, 2)), 0);
  EXPECT_FALSE(GetSubMenu(article, 0));
  EXPECT_EQ(GetMenuEntry(bar, 3), std::nullopt);
  EXPECT_EQ(FindMenuCommand(bar, 4242), std::nullopt);

  ASSERT_TRUE(DestroyMenu(bar));
  EXPECT_EQ(GetMenuEntryCount(article), -1) << "submenus go with their menu";
}

TEST_F(MenuTest, EntriesAreInsertedAndDeletedAtRunTime) {
  const MenuHandle bar = CreateMenuFromTemplate(ViewerMenu());
  const MenuHandle file = GetSubMenu(bar, 2);
  const MenuHandle folder = CreateMenu();
  InsertMenuEntry(folder, -1, {"Lists", 7, false, false, false, {}});

  ASSERT_TRUE(InsertMenuEntry(file, -1, {"News", 12, false, false, false, {}}));
  ASSERT_TRUE(InsertMenuEntry(file, 0, {"&In", 3, false, false, false, {}}));
  ASSERT_TRUE(InsertMenuEntry(file, 99, {"Folder", 0, false, false, false, folder}));
  EXPECT_FALSE(InsertMenuEntry(file, 0, {"Stale", 0, false, false, false, MenuHandle{9999}}));

  ASSERT_EQ(GetMenuEntryCount(file), 3);
  EXPECT_EQ(GetMenuEntry(file, 0)->text, "&In");
  EXPECT_EQ(GetMenuEntry(file, 1)->text, "News");
  EXPECT_EQ(FindMenuCommand(bar, 7)->text, "Lists");
  ASSERT_TRUE(DeleteMenuEntry(file, 2));
  EXPECT_EQ(GetMenuEntryCount(folder), -1) << "a deleted entry takes its submenu";
  EXPECT_FALSE(DeleteMenuEntry(file, 2));
}

TEST_F(MenuTest, CommandsAreEnabledAndCheckedWhereverTheyAre) {
  const MenuHandle bar = CreateMenuFromTemplate(ViewerMenu());
  InsertMenuEntry(GetSubMenu(bar, 2), -1, {"Source again", kSource, false, false, false, {}});

  ASSERT_TRUE(CheckMenuCommand(bar, kSource, true));
  ASSERT_TRUE(EnableMenuCommand(bar, kForwardInline, false));
  EXPECT_FALSE(CheckMenuCommand(bar, 4242, true));

  EXPECT_TRUE(GetMenuEntry(GetSubMenu(bar, 1), 1)->checked);
  EXPECT_TRUE(GetMenuEntry(GetSubMenu(bar, 2), 0)->checked) << "every entry with the command";
  EXPECT_TRUE(FindMenuCommand(bar, kForwardInline)->disabled);
}

TEST_F(MenuTest, AMenuBarTakesRoomFromTheClientAreaAndSendsItsCommandsToTheWindow) {
  WindowSpec description;
  description.class_name = "#32770";
  description.style = dialog_style::kCaption;
  description.rect = {0, 0, 406, 328};
  description.procedure = log_.Procedure();
  const WindowHandle viewer = CreateWindow(description);
  const MenuHandle bar = CreateMenuFromTemplate(ViewerMenu());

  ASSERT_TRUE(SetMenu(viewer, bar));
  EXPECT_EQ(GetMenu(viewer), bar);
  EXPECT_EQ(GetClientRect(viewer), (Rect{0, 0, 400, 300 - kMenuBarHeight}));
  EXPECT_EQ(log_.Seen(WM_SIZE).size(), 1u);

  EXPECT_TRUE(InjectMenuCommand(viewer, kClose));
  EXPECT_FALSE(InjectMenuCommand(viewer, kPrint)) << "disabled";
  EXPECT_FALSE(InjectMenuCommand(viewer, 4242));
  PumpWaitingMessages();
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kClose, 0}}));

  const Snapshot snapshot = TakeSnapshot();
  ASSERT_EQ(snapshot.windows.at(0).menu_bar.size(), 3u);
  EXPECT_TRUE(snapshot.windows.at(0).menu_bar[0].items[1].disabled);
  DestroyWindow(viewer);
  EXPECT_EQ(GetMenuEntryCount(bar), -1) << "a menu bar goes with its window";
}

TEST_F(MenuTest, WithoutAFrontEndAPopupIsDismissedAtOnceOrPickedByTheHandler) {
  const WindowHandle owner = MakeWindow("TaviAggregatorMainWindow", "", {}, log_.Procedure());
  const MenuHandle popup = GetSubMenu(CreateMenuFromTemplate(ViewerMenu()), 0);

  EXPECT_FALSE(TrackPopupMenu(popup, {10, 20}, owner));
  std::vector<int> offered;
  SetPopupMenuHandler([&](const PopupMenuRequest& request) {
    offered.push_back(request.id);
    return request.point.x == 30 ? kForwardInline : kPrint;
  });
  EXPECT_TRUE(TrackPopupMenu(popup, {30, 40}, owner));
  EXPECT_FALSE(TrackPopupMenu(popup, {50, 60}, owner)) << "a disabled command is no pick";
  EXPECT_TRUE(log_.Notices().empty()) << "the command comes once the menu is gone";
  PumpWaitingMessages();

  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kForwardInline, 0}}));
  const std::vector<PopupMenuRequest> shown = ShownPopupMenus();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(offered, (std::vector<int>{shown[1].id, shown[2].id}));
  EXPECT_EQ(shown[1].point, (Point{30, 40}));
  EXPECT_EQ(shown[1].owner, owner);
  EXPECT_FALSE(TrackPopupMenu(MenuHandle{9999}, {}, owner));
}

TEST_F(MenuTest, WithAFrontEndAPopupWaitsForItsAnswerFromAnotherThread) {
  SetFrontEndPresent(true);
  const WindowHandle owner = MakeWindow("NewsBoardWindow", "", {}, log_.Procedure());
  const MenuHandle popup = GetSubMenu(CreateMenuFromTemplate(ViewerMenu()), 0);
  bool refused_disabled = false;
  bool owner_blocked = false;
  testing::ChangeWaiter waiter;
  std::thread front_end([&] {
    const Snapshot snapshot =
        waiter.WaitFor([](const Snapshot& state) { return !state.popup_menus.empty(); });
    const PendingPopupMenu& pending = snapshot.popup_menus.front();
    owner_blocked = !InjectClick(owner);
    refused_disabled = !AnswerPopupMenu(pending.request.id, kPrint);
    EXPECT_EQ(pending.items.size(), 4u);
    EXPECT_EQ(pending.request.point, (Point{5, 6}));
    AnswerPopupMenu(pending.request.id, kClose);
  });

  const bool picked = TrackPopupMenu(popup, {5, 6}, owner);
  front_end.join();
  PumpWaitingMessages();

  EXPECT_TRUE(picked);
  EXPECT_TRUE(refused_disabled);
  EXPECT_TRUE(owner_blocked);
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kClose, 0}}));
  EXPECT_TRUE(TakeSnapshot().popup_menus.empty());
  EXPECT_FALSE(AnswerPopupMenu(ShownPopupMenus().back().id, 0)) << "answered already";
}

}  // namespace
}  // namespace tavi::platform
