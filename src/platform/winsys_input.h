#pragma once

// Input for front ends: what a person does to the windows, injected from
// any thread (a web server's, a test's). Each input is posted to the thread
// that owns its window and handled in that thread's message loop like real
// input, so that modal loops (a modal dialog, a message box, a splitter
// bar's drag) see it. When the thread takes it, mouse input goes to the
// window holding the capture, keys without a window to the focus, and the
// key state (GetAsyncKeyState) follows the keys and buttons held.
//
// Every function returns false, and nothing happens, when its window no
// longer exists, is hidden or disabled, or is blocked by a modal loop (its
// top-level window is disabled while the loop runs), or when what it names
// (a row, an item, a command, an answer) is not there. Input that becomes
// undeliverable before the thread takes it is dropped.

#include <cstdint>
#include <string>

#include "platform/winsys.h"
#include "platform/winsys_tree_view.h"

namespace tavi::platform {

// A front end declares itself present (or gone): while it is, message boxes
// and popup menus wait for its answers instead of answering at once.
void SetFrontEndPresent(bool present);
bool IsFrontEndPresent();

enum class MouseAction { kMove, kLeftDown, kLeftUp, kLeftDoubleClick, kRightDown, kRightUp };

// The mouse at `point` of `window`'s client area, with the key_modifier
// bits held. With a capture held, the message goes to the capture (with the
// point in its client coordinates), wherever the point is. A label, icon or
// group box without kNotify lets it through to the window behind it. A point outside
// the cursor's clip rectangle lands on its nearest edge. A button going down
// brings the window's top-level window to the top.
bool InjectMouse(WindowHandle window, MouseAction action, Point point, std::uint32_t modifiers = 0);

// A click (left button down and up) in the middle of a button, check box or
// any other window.
bool InjectClick(WindowHandle window, std::uint32_t modifiers = 0);

// A key going down or up, with the key_modifier bits held, to `window`, or
// (none) to the focus of the thread of the foreground window (or to that
// window when nothing has the focus).
bool InjectKey(WindowHandle window, int key, bool down, std::uint32_t modifiers = 0);

// The modifier keys (key_modifier bits: Shift, Control, Alt) as a person
// holds them at this moment, for what the front end runs on their behalf
// without input to a window (a command chosen with Ctrl held): the
// asynchronous key state reports them until the next input changes it.
void HoldModifierKeys(std::uint32_t modifiers);

// A key going down and up again.
bool InjectKeyPress(WindowHandle window, int key, std::uint32_t modifiers = 0);

// Text typed into an edit: replaces its text (a kDigitsOnly edit keeps the
// digits) and the parent hears EN_CHANGE. False for a read-only edit or a
// window that is no edit.
bool InjectText(WindowHandle edit, const std::string& text);

// How a person clicks a row or an item.
enum class ClickKind { kLeft, kRight, kDouble };

// A click on row `row` of a list view (-1: below the rows), with the
// key_modifier bits held: a left click selects the row alone, or with
// Control toggles it, or with Shift selects from the selection mark to it
// (in a view with multiple selection); a right click selects an unselected
// row alone; a double click selects as a left click. The parent hears the
// LVN_ITEMCHANGED of each change, then NM_CLICK, NM_RCLICK, or NM_CLICK and
// NM_DBLCLK, with the middle of the row as the point (where the cursor
// goes).
bool InjectListViewClick(WindowHandle list, int row, ClickKind kind, std::uint32_t modifiers = 0);

// A click on the header of column `column`: the parent hears
// LVN_COLUMNCLICK.
bool InjectListViewColumnClick(WindowHandle list, int column);

// A click on a tree view's item: a left or double click selects it
// (TVN_SELCHANGED, action TVC_BYMOUSE); the parent then hears NM_CLICK,
// NM_RCLICK, or NM_CLICK and NM_DBLCLK (after which the item expands or
// collapses unless the parent answered NM_DBLCLK with non-zero).
bool InjectTreeViewClick(WindowHandle tree, TreeItem item, ClickKind kind);

// A click on an item's button: expands or collapses it, and the parent
// hears TVN_ITEMEXPANDED. False for an item without children.
bool InjectTreeViewExpand(WindowHandle tree, TreeItem item, bool expand);

// A person picking item `index` of a drop-down list: it is chosen and the
// parent hears CBN_SELCHANGE when the choice changed. False for an index
// that is no item.
bool InjectDropDownSelection(WindowHandle list, int index);

// A command picked from `window`'s menu bar (WM_COMMAND to the window) or,
// when `window` is a toolbar, a click on its button (WM_COMMAND or
// TBN_DROPDOWN to the toolbar's parent). False for a command that is not an
// enabled entry or button.
bool InjectMenuCommand(WindowHandle window, int command);

// A person moving or sizing a top-level window to `rect` (screen): held to
// the window's tracking sizes, then MoveWindow.
bool InjectWindowRect(WindowHandle window, const Rect& rect);

// A click on a top-level window's caption buttons: WM_SYSCOMMAND with
// SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE.
bool InjectSystemCommand(WindowHandle window, WParam command);

// Answers the pending message box `id` with `answer` (one of its buttons'
// ID values).
bool AnswerMessageBox(int id, int answer);

// Answers the pending popup menu `id` with an enabled command of it, or 0
// to dismiss it.
bool AnswerPopupMenu(int id, int command);

}  // namespace tavi::platform
