#include "platform/winsys_list_view.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

constexpr int kFeeds = 1001;

// One LVN_ITEMCHANGED as the parent heard it.
struct Changed {
  int row = -1;
  std::uint32_t old_state = 0;
  std::uint32_t new_state = 0;
  LParam user_value = 0;

  bool operator==(const Changed&) const = default;
};

class ListViewTest : public testing::WinsysTest {
 protected:
  // A list view of `rows` visible rows (and a header, unless the style has
  // kNoColumnHeader) in a parent that records what it hears.
  WindowHandle MakeList(std::uint32_t style = 0, int rows = 5) {
    const WindowHandle parent =
        MakeWindow("Main", "", {},
                   log_.Procedure([this](WindowHandle, MessageId message, WParam,
                                         LParam lparam) -> std::optional<LResult> {
                     if (message != WM_NOTIFY) return std::nullopt;
                     const auto* notify = reinterpret_cast<const ListViewNotify*>(lparam);
                     if (notify->header.code == LVN_ITEMCHANGED) {
                       changed_.push_back(
                           {notify->row, notify->old_state, notify->new_state, notify->user_value});
                     }
                     last_ = *notify;
                     return 0;
                   }));
    WindowSpec description;
    description.class_name = "SysListView32";
    description.parent = parent;
    description.kind = ControlKind::kListView;
    description.control_id = kFeeds;
    description.style = style;
    const int header = (style & control_style::kNoColumnHeader) != 0 ? 0 : kListViewHeaderHeight;
    description.rect = {0, 0, 200, header + rows * kListViewRowHeight};
    return CreateWindow(description);
  }

  static void AddRows(WindowHandle list, int count) {
    for (int row = 0; row < count; ++row) {
      InsertListViewRow(list, row, {{"Feed " + std::to_string(row)}, 0, 100 + row});
    }
  }

  std::vector<Changed> changed_;
  ListViewNotify last_;
};

TEST_F(ListViewTest, TenThousandRowsSortAndKeepTheirSelectionAndFocus) {
  const WindowHandle list = MakeList();
  constexpr int kRows = 10000;
  // Values in a scrambled order: 7919 is prime, so every value comes once.
  for (int row = 0; row < kRows; ++row) {
    const int value = (row * 7919) % kRows;
    ASSERT_EQ(InsertListViewRow(list, row, {{std::to_string(value), "x"}, value % 3, value}), row);
  }
  for (int row = 0; row < kRows; ++row) {
    if (GetListViewRow(list, row)->user_value % 3 == 0) {
      SetListViewRowState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  const int focused_value = static_cast<int>(GetListViewRow(list, 1234)->user_value);
  SetListViewRowState(list, 1234, LVIS_FOCUSED, LVIS_FOCUSED);

  ASSERT_TRUE(SortListView(list, [](LParam a, LParam b) { return static_cast<int>(b - a); }));

  ASSERT_EQ(GetListViewRowCount(list), kRows);
  EXPECT_EQ(GetSelectedListViewRowCount(list), 3334);
  for (int row = 0; row < kRows; ++row) {
    const std::optional<ListViewRow> data = GetListViewRow(list, row);
    ASSERT_EQ(data->user_value, kRows - 1 - row) << row;
    ASSERT_EQ(data->texts[0], std::to_string(kRows - 1 - row));
    ASSERT_EQ(GetListViewRowState(list, row, LVIS_SELECTED) != 0, data->user_value % 3 == 0);
  }
  int selected = 0;
  for (int row = GetNextSelectedListViewRow(list); row != -1;
       row = GetNextSelectedListViewRow(list, row)) {
    ASSERT_EQ((kRows - 1 - row) % 3, 0);
    ++selected;
  }
  EXPECT_EQ(selected, 3334);
  EXPECT_EQ(GetFocusedListViewRow(list), kRows - 1 - focused_value);
  EXPECT_EQ(changed_.size(), 3334u + 1u);
}

TEST_F(ListViewTest, SingleSelectionKeepsOneRowAndEveryRowThatChangesIsTold) {
  const WindowHandle list = MakeList(control_style::kSingleSelection);
  AddRows(list, 4);

  SetListViewRowState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetListViewRowState(list, 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetListViewRowState(list, 3, LVIS_SELECTED, LVIS_SELECTED);  // no change: nobody told

  constexpr std::uint32_t kBoth = LVIS_SELECTED | LVIS_FOCUSED;
  // Row 1 loses its selection, then its focus, then row 3 gains both.
  EXPECT_EQ(changed_, (std::vector<Changed>{{1, 0, kBoth, 101},
                                            {1, kBoth, LVIS_FOCUSED, 101},
                                            {1, LVIS_FOCUSED, 0, 101},
                                            {3, 0, kBoth, 103}}));
  EXPECT_EQ(GetSelectedListViewRowCount(list), 1);
  EXPECT_EQ(GetNextSelectedListViewRow(list), 3);
  EXPECT_EQ(GetFocusedListViewRow(list), 3);
}

TEST_F(ListViewTest, RowMinusOneChangesEveryRow) {
  const WindowHandle list = MakeList();
  AddRows(list, 3);
  SetListViewRowState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
  changed_.clear();

  ASSERT_TRUE(SetListViewRowState(list, -1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(changed_,
            (std::vector<Changed>{{0, 0, LVIS_SELECTED, 100}, {2, 0, LVIS_SELECTED, 102}}));
  ASSERT_TRUE(SetListViewRowState(list, -1, 0, LVIS_SELECTED));
  EXPECT_EQ(GetSelectedListViewRowCount(list), 0);
  EXPECT_EQ(GetNextSelectedListViewRow(list), -1);
  EXPECT_FALSE(SetListViewRowState(list, 3, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListViewTest, FocusSelectionAndMarkStayOnTheirRowsWhenRowsComeAndGo) {
  const WindowHandle list = MakeList();
  AddRows(list, 5);
  SetListViewRowState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetListViewRowState(list, 4, LVIS_SELECTED, LVIS_SELECTED);

  struct Step {
    const char* name;
    std::function<void()> act;
    int focused;
    std::vector<int> selected;
  };
  const Step steps[] = {
      {"insert before",
       [&] {
         InsertListViewRow(list, 0, {{"new"}, 0, 7});
       },
       3,
       {3, 5}},
      {"insert after",
       [&] {
         InsertListViewRow(list, 99, {{"last"}, 0, 8});
       },
       3,
       {3, 5}},
      {"delete before", [&] { DeleteListViewRow(list, 1); }, 2, {2, 4}},
      {"delete the focused row", [&] { DeleteListViewRow(list, 2); }, -1, {3}},
      {"delete everything", [&] { DeleteAllListViewRows(list); }, -1, {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(GetFocusedListViewRow(list), step.focused);
    std::vector<int> selected;
    for (int row = GetNextSelectedListViewRow(list); row != -1;
         row = GetNextSelectedListViewRow(list, row)) {
      selected.push_back(row);
    }
    EXPECT_EQ(selected, step.selected);
    EXPECT_EQ(GetSelectedListViewRowCount(list), static_cast<int>(step.selected.size()));
  }
  EXPECT_EQ(GetListViewRow(list, 6), std::nullopt);
}

TEST_F(ListViewTest, RowsAndColumnsAreReadAndChangedByIndex) {
  const WindowHandle list = MakeList();
  EXPECT_EQ(InsertListViewColumn(list, 0, {"Feed", 120}), 0);
  EXPECT_EQ(InsertListViewColumn(list, 0, {"Headline", 100}), 0);
  EXPECT_EQ(InsertListViewColumn(list, 9, {"Newsbox", 80}), 2);
  ASSERT_TRUE(SetListViewColumnWidth(list, 1, 150));
  InsertListViewRow(list, 0, {{"Tavi 1.0 is out"}, 1, 55});

  EXPECT_EQ(GetListViewColumnCount(list), 3);
  EXPECT_EQ(GetListViewColumnWidth(list, 0), 100);
  EXPECT_EQ(GetListViewColumnWidth(list, 1), 150);
  EXPECT_EQ(GetListViewColumnWidth(list, 3), -1);
  EXPECT_TRUE(SetListViewText(list, 0, 2, "News"));
  EXPECT_EQ(GetListViewText(list, 0, 0), "Tavi 1.0 is out");
  EXPECT_EQ(GetListViewText(list, 0, 1), "");
  EXPECT_EQ(GetListViewText(list, 0, 2), "News");
  EXPECT_TRUE(SetListViewRow(list, 0, {{"Renamed"}, 2, 56}));
  EXPECT_EQ(GetListViewRow(list, 0)->user_value, 56);
  EXPECT_FALSE(SetListViewText(list, 1, 0, "no such row"));

  const WindowHandle plain = MakeWindow("Static", "");
  EXPECT_EQ(GetListViewRowCount(plain), -1);
  EXPECT_EQ(InsertListViewRow(plain, 0, {}), -1);
}

TEST_F(ListViewTest, EnsuringARowIsVisibleScrollsAsLittleAsNeeded) {
  const WindowHandle list = MakeList(0, 5);
  AddRows(list, 20);
  struct Case {
    int row;
    int top;
  };
  const Case cases[] = {{7, 3}, {2, 2}, {4, 2}, {6, 2}, {19, 15}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    ASSERT_TRUE(EnsureListViewRowVisible(list, c.row));
    EXPECT_EQ(GetListViewTopRow(list), c.top);
  }
  EnsureListViewRowVisible(list, 7);
  EXPECT_EQ(GetListViewRowRect(list, 4), (Rect{0, kListViewHeaderHeight + kListViewRowHeight, 200,
                                               kListViewHeaderHeight + 2 * kListViewRowHeight}));
  EXPECT_EQ(GetListViewRowRect(list, 20), std::nullopt);

  const WindowHandle headless = MakeList(control_style::kNoColumnHeader, 5);
  AddRows(headless, 2);
  EXPECT_EQ(GetListViewRowRect(headless, 1), (Rect{0, 17, 200, 34}));
}

TEST_F(ListViewTest, ASortWhoseRowsChangeMeanwhileIsAbandoned) {
  const WindowHandle list = MakeList();
  AddRows(list, 3);
  bool removed = false;

  const bool sorted = SortListView(list, [&](LParam a, LParam b) {
    if (!removed) removed = DeleteListViewRow(list, 0);
    return static_cast<int>(b - a);
  });

  EXPECT_FALSE(sorted);
  ASSERT_EQ(GetListViewRowCount(list), 2);
  EXPECT_EQ(GetListViewRow(list, 0)->user_value, 101);
  EXPECT_EQ(GetListViewRow(list, 1)->user_value, 102);
}

TEST_F(ListViewTest, EveryKeyIsToldAndEnterAlsoActivates) {
  const WindowHandle list = MakeList();
  PostMessage(list, WM_KEYDOWN, virtual_key::kF10, key_modifier::kShift);
  PumpWaitingMessages();
  EXPECT_EQ(last_.header.code, LVN_KEYDOWN);
  EXPECT_EQ(last_.key, virtual_key::kF10);
  EXPECT_EQ(last_.modifiers, key_modifier::kShift);

  log_.ClearNotices();
  PostMessage(list, WM_KEYDOWN, virtual_key::kReturn, 0);
  PumpWaitingMessages();
  EXPECT_EQ(log_.Notices(), (std::vector<testing::Notice>{{WM_NOTIFY, kFeeds, LVN_KEYDOWN},
                                                          {WM_NOTIFY, kFeeds, NM_RETURN}}));
}

std::vector<int> SelectedRows(WindowHandle list) {
  std::vector<int> rows;
  for (int row = GetNextSelectedListViewRow(list); row != -1;
       row = GetNextSelectedListViewRow(list, row)) {
    rows.push_back(row);
  }
  return rows;
}

TEST_F(ListViewTest, APersonsClicksSelectAsTheSystemsListViewDoes) {
  const WindowHandle list = MakeList();
  AddRows(list, 6);
  using key_modifier::kControl;
  using key_modifier::kShift;
  struct Step {
    const char* name;
    int row;
    ClickKind kind;
    std::uint32_t modifiers;
    std::vector<int> selected;
    int focused;
    int code;  // the last notification
  };
  const Step steps[] = {
      {"a click selects the row alone", 1, ClickKind::kLeft, 0, {1}, 1, NM_CLICK},
      {"Control adds a row", 4, ClickKind::kLeft, kControl, {1, 4}, 4, NM_CLICK},
      {"Control takes a selected row away", 1, ClickKind::kLeft, kControl, {4}, 1, NM_CLICK},
      // The selection mark is row 1, the last row clicked without Shift.
      {"Shift selects from the mark", 3, ClickKind::kLeft, kShift, {1, 2, 3}, 3, NM_CLICK},
      {"a right click keeps a selection it falls in",
       2,
       ClickKind::kRight,
       0,
       {1, 2, 3},
       2,
       NM_RCLICK},
      {"a right click elsewhere selects that row alone",
       5,
       ClickKind::kRight,
       0,
       {5},
       5,
       NM_RCLICK},
      {"a double click selects and activates", 0, ClickKind::kDouble, 0, {0}, 0, NM_DBLCLK},
      {"a click below the rows unselects everything", -1, ClickKind::kLeft, 0, {}, 0, NM_CLICK},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(InjectListViewClick(list, step.row, step.kind, step.modifiers));
    PumpWaitingMessages();
    EXPECT_EQ(SelectedRows(list), step.selected);
    EXPECT_EQ(GetFocusedListViewRow(list), step.focused);
    EXPECT_EQ(last_.header.code, step.code);
    EXPECT_EQ(last_.row, step.row);
  }
  EXPECT_FALSE(InjectListViewClick(list, 6, ClickKind::kLeft));
}

TEST_F(ListViewTest, ARightClickTellsThePointAndLeavesTheCursorThere) {
  const WindowHandle list = MakeList();
  AddRows(list, 3);
  MoveWindow(GetParent(list), {100, 50, 400, 300});

  ASSERT_TRUE(InjectListViewClick(list, 2, ClickKind::kRight));
  PumpWaitingMessages();

  // Row 2 is drawn from y = 20 + 2 * 17 = 54 to 71 in a list 200 wide.
  EXPECT_EQ(last_.header.code, NM_RCLICK);
  EXPECT_EQ(last_.point, (Point{100, 62}));
  EXPECT_EQ(last_.user_value, 102);
  EXPECT_EQ(GetCursorPos(), (Point{200, 112}));
  EXPECT_EQ(changed_, (std::vector<Changed>{{2, 0, LVIS_SELECTED | LVIS_FOCUSED, 102}}));
}

TEST_F(ListViewTest, AClickOnAColumnHeaderNamesTheColumn) {
  const WindowHandle list = MakeList();
  InsertListViewColumn(list, 0, {"Headline", 100});
  InsertListViewColumn(list, 1, {"Feed", 100});

  ASSERT_TRUE(InjectListViewColumnClick(list, 1));
  EXPECT_FALSE(InjectListViewColumnClick(list, 2));
  PumpWaitingMessages();

  EXPECT_EQ(last_.header.code, LVN_COLUMNCLICK);
  EXPECT_EQ(last_.column, 1);
}

}  // namespace
}  // namespace tavi::platform
