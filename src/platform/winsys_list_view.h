#pragma once

// The list view in report style: columns with titles and widths, and rows
// of one text per column, an image (an index into the view's list of icon
// ids), a user value, and the selected and focused states.
//
// The view tells its parent (WM_NOTIFY with ListViewNotify):
// - LVN_ITEMCHANGED for every row whose selected or focused state changed,
//   by a program's SetListViewRowState or by a person's click;
// - NM_CLICK, NM_DBLCLK, NM_RCLICK after a person's click on a row (or on
//   no row: row -1), with the point in the view's client area;
// - LVN_COLUMNCLICK for a click on a column's header;
// - LVN_KEYDOWN for every key pressed in it, then NM_RETURN for Enter.
// A view with kSingleSelection has at most one selected row; at most one
// row is focused. The view keeps its rows in one array and changes them in
// place, so that views of many thousand rows stay quick.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/winsys.h"

namespace tavi::platform {

inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_COLUMNCLICK = -108;
inline constexpr int LVN_KEYDOWN = -155;

// Row states (masks of SetListViewRowState).
inline constexpr std::uint32_t LVIS_FOCUSED = 0x0001;
inline constexpr std::uint32_t LVIS_SELECTED = 0x0002;

// The view's drawing measures, which also place its rows.
inline constexpr int kListViewHeaderHeight = 20;  // 0 with kNoColumnHeader
inline constexpr int kListViewRowHeight = 17;

// The data of every list-view WM_NOTIFY; each code fills the fields it
// names.
struct ListViewNotify {
  NotifyHeader header;
  int row = -1;
  int column = -1;              // LVN_COLUMNCLICK
  std::uint32_t old_state = 0;  // LVN_ITEMCHANGED: LVIS_ bits
  std::uint32_t new_state = 0;  // LVN_ITEMCHANGED
  LParam user_value = 0;        // the row's, when there is a row
  Point point;                  // NM_CLICK, NM_DBLCLK, NM_RCLICK: client coordinates
  int key = 0;                  // LVN_KEYDOWN: the virtual key
  std::uint32_t modifiers = 0;  // LVN_KEYDOWN: key_modifier bits
};

struct ListViewColumn {
  std::string title;
  int width = 100;  // pixels
};

struct ListViewRow {
  std::vector<std::string> texts;  // one per column; missing ones are ""
  int image = 0;
  LParam user_value = 0;
};

// The functions below fail (false, -1, "", nullopt) when `list` is not a
// list view or a row or column index is out of range.

// Inserts a column at `index` (clamped to the count); returns its index.
int InsertListViewColumn(WindowHandle list, int index, const ListViewColumn& column);
int GetListViewColumnCount(WindowHandle list);
int GetListViewColumnWidth(WindowHandle list, int column);
bool SetListViewColumnWidth(WindowHandle list, int column, int width);

// The icon ids that row images index.
bool SetListViewImages(WindowHandle list, std::vector<int> icon_ids);

// Inserts a row, unselected, at `index` (clamped to the count); returns its
// index. The focused row and the selection mark keep pointing at their rows.
int InsertListViewRow(WindowHandle list, int index, ListViewRow row);

// Replaces a row's texts, image and user value; its states stay.
bool SetListViewRow(WindowHandle list, int index, ListViewRow row);

// Sets the text of one cell.
bool SetListViewText(WindowHandle list, int index, int column, const std::string& text);

// The text of one cell ("" also for a column beyond the row's texts).
std::string GetListViewText(WindowHandle list, int index, int column);

// A row's texts, image and user value.
std::optional<ListViewRow> GetListViewRow(WindowHandle list, int index);

// Removes rows; nothing is told to the parent.
bool DeleteListViewRow(WindowHandle list, int index);
bool DeleteAllListViewRows(WindowHandle list);

// The number of rows; -1 when `list` is not a list view.
int GetListViewRowCount(WindowHandle list);

// Sets the states in `mask` (LVIS_ bits) of row `index`, or of every row
// when `index` is -1, to those in `state`; the parent hears LVN_ITEMCHANGED
// for each row that changed. Selecting a row in a kSingleSelection view
// unselects the others; focusing a row unfocuses the one that had it.
bool SetListViewRowState(WindowHandle list, int index, std::uint32_t state, std::uint32_t mask);

// The states in `mask` of row `index`; 0 when there is no such row.
std::uint32_t GetListViewRowState(WindowHandle list, int index, std::uint32_t mask);

// The first selected row after `after` (-1: from the start), or -1.
int GetNextSelectedListViewRow(WindowHandle list, int after = -1);
int GetSelectedListViewRowCount(WindowHandle list);

// The focused row, or -1.
int GetFocusedListViewRow(WindowHandle list);

// The row a person last clicked (the anchor of Shift-clicks), or -1.
int GetListViewSelectionMark(WindowHandle list);

// Scrolls the view as little as needed for row `index` to show whole.
bool EnsureListViewRowVisible(WindowHandle list, int index);

// The first row shown at the top of the view.
int GetListViewTopRow(WindowHandle list);

// Where row `index` is drawn, in the view's client coordinates (also when
// it is scrolled out of sight).
std::optional<Rect> GetListViewRowRect(WindowHandle list, int index);

// Orders the rows by `compare` of their user values (negative: the first
// comes first), keeping equal rows in their order. `compare` is called
// without the window system's lock and may read the view; the sort is
// abandoned (false) when rows are inserted or removed meanwhile. States, the
// focused row and the selection mark move with their rows.
bool SortListView(WindowHandle list, const std::function<int(LParam, LParam)>& compare);

}  // namespace tavi::platform
