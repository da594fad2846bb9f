#pragma once

// The window system, headless: windows with class names, titles, parents,
// owners and visibility; per-thread message queues with send, post,
// post-to-thread and registered messages; window and thread timers; and
// message boxes. The other winsys_*.h headers add geometry, focus, dialogs,
// controls, menus, mouse and keyboard, input for front ends, the shell and
// the snapshot that front ends draw from.
//
// Windows and queues live in process-wide registries (this library is shared)
// and every function here is safe to call from any thread. Window procedures,
// timer callbacks and message-box handlers are always called without any
// internal lock held, so they may call back into the window system freely.
//
// Timers run on the clock of platform/clock.h: they fall due when Now()
// reaches them and fire when their thread looks for messages. A test that
// pins the clock and moves it calls WakeMessageQueues() so that threads
// blocked in GetMessage look at the clock again.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/window_templates.h"
#include "platform/winsys_messages.h"
#include "platform/winsys_types.h"

namespace tavi::platform {

// ---------------------------------------------------------------------------
// Window procedures

// A window procedure: handles one message for `window` and returns its
// result. Procedures pass what they do not handle to DefWindowProc.
using WindowProcedure =
    std::function<LResult(WindowHandle window, MessageId message, WParam wparam, LParam lparam)>;

// ShowWindow commands; every command but SW_HIDE shows the window.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// ---------------------------------------------------------------------------
// Threads and queues

// The calling thread's number, given on first use.
ThreadId CurrentThreadId();

// Creates the calling thread's message queue if it has none yet and returns
// the thread's number. A thread that waits for thread messages calls this
// before telling other threads its number, so no early post is lost. Any
// other call that needs the queue (creating a window, GetMessage, ...) also
// creates it.
ThreadId EnsureMessageQueue();

// ---------------------------------------------------------------------------
// Windows

// What CreateWindow makes. A parent that is none or the desktop window makes
// a top-level window.
struct WindowSpec {
  std::string class_name;
  std::string title;
  WindowHandle parent;
  bool visible = true;
  // Empty: the control kind's own procedure, or DefWindowProc for a plain
  // window.
  WindowProcedure procedure{};
  LParam create_parameter = 0;
  WindowHandle owner{};  // a top-level window's owner; ignored for a child
  bool enabled = true;
  Rect rect{};                        // pixels, in the parent's client area (top-level: the screen)
  std::optional<ControlKind> kind{};  // nullopt: a plain window
  int control_id = 0;
  // control_style bits for a control; dialog_style bits (the frame) for any
  // other window.
  std::uint32_t style = 0;
  int icon_id = 0;
};

// Creates a window owned by the calling thread, on top of its siblings, and
// sends it WM_CREATE (lparam: a pointer to `description`, valid during the call).
// Fails (returns none) when the parent is not a window or WM_CREATE returns
// -1 (the window is then destroyed again).
WindowHandle CreateWindow(const WindowSpec& description);

// Destroys `window` and all its descendants: sends WM_DESTROY to the window
// and then to each descendant (parents before children), WM_NCDESTROY in the
// opposite order, then removes them with their timers. Messages still posted
// to them are dropped when they come up. Only the owning thread may destroy
// a window; false when another thread tries, when the window does not exist
// or is already being destroyed.
bool DestroyWindow(WindowHandle window);

// The stand-in for the desktop: a window that always exists. As a parent it
// means "top-level"; as the argument of GetTopWindow, FindChildWindow it
// means the top-level windows.
WindowHandle GetDesktopWindow();

// A text filter: nullopt matches any text, a text matches the same text
// regardless of ASCII case (as window classes and titles are compared).
using TextFilter = std::optional<std::string_view>;
inline constexpr std::nullopt_t kAnyText = std::nullopt;

// The topmost top-level window whose class and title match; none if none.
WindowHandle FindWindow(TextFilter class_name, TextFilter title = kAnyText);

// The topmost direct child of `parent` (none or desktop: the top-level
// windows) whose class and title match, searching below `after` when given.
// None when nothing matches or `parent` is not a window.
WindowHandle FindChildWindow(WindowHandle parent, TextFilter class_name, TextFilter title,
                             WindowHandle after = {});

// The topmost direct child of `parent` (none or desktop: the topmost
// top-level window), or none when it has no children.
WindowHandle GetTopWindow(WindowHandle parent);

// Moves `window` to the top of its siblings. False when it is not a window.
bool BringWindowToTop(WindowHandle window);

// True while `window` exists (until DestroyWindow has finished with it).
bool IsWindow(WindowHandle window);

// The window's parent; none for a top-level window or a stale handle.
WindowHandle GetParent(WindowHandle window);

// The window's title; "" for a stale handle.
std::string GetWindowText(WindowHandle window);

// Sends WM_SETTEXT with `text`; DefWindowProc stores it as the title. Returns
// the procedure's result as a bool (false for a stale handle).
bool SetWindowText(WindowHandle window, const std::string& text);

// The window's class name; "" for a stale handle.
std::string GetClassName(WindowHandle window);

// True when the window and every ancestor are shown.
bool IsWindowVisible(WindowHandle window);

// Shows (any command but SW_HIDE) or hides the window. SW_MINIMIZE,
// SW_SHOWMINIMIZED and SW_MAXIMIZE also change its show state, SW_RESTORE and
// SW_SHOWNORMAL bring it back to normal (winsys_geometry.h tells what each
// state does to the rectangle); a change of state sends WM_SIZE. Returns
// whether it was shown before; false for a stale handle.
bool ShowWindow(WindowHandle window, int command);

// The owner of a top-level window (none when it has none), or none for a
// child or a stale handle.
WindowHandle GetOwner(WindowHandle window);

// The direct children of `parent` (none or desktop: the top-level windows),
// topmost first; empty for a stale handle. For a dialog the order is the
// template's, which is also the tab order.
std::vector<WindowHandle> GetChildWindows(WindowHandle parent);

// The window's style bits (control_style for a control, dialog_style for any
// other window); 0 for a stale handle.
std::uint32_t GetWindowStyle(WindowHandle window);

// Replaces the style bits. False for a stale handle.
bool SetWindowStyle(WindowHandle window, std::uint32_t style);

// The kind of control the window is; nullopt for a plain window, a dialog or
// a stale handle.
std::optional<ControlKind> GetWindowKind(WindowHandle window);

// Gives the window a new procedure and returns the one it had (an empty
// function for a window that had none: its messages went to DefWindowProc).
// The new procedure passes what it does not handle to the returned one, which
// is how a control is taken over (a splitter bar on a label). Returns an
// empty function and changes nothing for a stale handle.
WindowProcedure SubclassWindow(WindowHandle window, WindowProcedure procedure);

// Calls `procedure` for the message, or DefWindowProc when it is empty.
LResult CallWindowProcedure(const WindowProcedure& procedure, WindowHandle window,
                            MessageId message, WParam wparam, LParam lparam);

// The thread that owns the window; 0 for a stale handle.
ThreadId GetWindowThreadId(WindowHandle window);

// The default handling of a message: WM_SETTEXT stores the title (returns
// 1), WM_CLOSE destroys the window, WM_SYSCOMMAND with SC_CLOSE sends
// WM_CLOSE and with SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE changes the show
// state, a person's move or resize (InjectWindowRect) moves the window;
// everything else returns 0.
LResult DefWindowProc(WindowHandle window, MessageId message, WParam wparam, LParam lparam);

// ---------------------------------------------------------------------------
// Messages

// One queued message. `window` is none for a thread message.
struct Message {
  WindowHandle window;
  MessageId message = WM_NULL;
  WParam wparam = 0;
  LParam lparam = 0;
};

// Calls the window procedure and returns its result. On the owning thread
// the call is direct; from another thread the message waits in the owner's
// queue until the owner pumps or waits for messages, and the caller waits for
// the result, handling messages sent to its own windows meanwhile so that
// two threads sending to each other do not dead-lock. Returns 0 for a stale
// handle or when the owning thread ends before answering.
LResult SendMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam);

// Like SendMessage but does not wait for a window of another thread (the
// message is handled when that thread next pumps). False for a stale handle.
bool SendNotifyMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam);

// Queues the message for the window's owning thread. A none window posts a
// thread message to the calling thread. False for a stale handle.
bool PostMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam);

// Queues a thread message (window none). False when the thread has no
// message queue (it never created one, or it has ended).
bool PostThreadMessage(ThreadId thread, MessageId message, WParam wparam, LParam lparam);

// Asks the calling thread's message loop to end: once no posted message is
// waiting, GetMessage returns false with a WM_QUIT carrying `exit_code`.
void PostQuitMessage(int exit_code);

// The process-wide number for `name`, in kFirstRegisteredMessage..
// kLastRegisteredMessage; the same name (ASCII case ignored) always gives the
// same number. 0 for an empty name or when the range is used up.
MessageId RegisterWindowMessage(std::string_view name);

// Waits for the next message of the calling thread and stores it in
// `message`, handling messages sent from other threads while it waits. Order
// of preference: posted messages in order, then the quit request, then due
// timers (one WM_TIMER per due timer; the timer's next due time is set from
// Now() when its message is taken). Returns false when the message is
// WM_QUIT.
bool GetMessage(Message& message);

enum class WaitResult { kMessage, kQuit, kTimeout };

// GetMessage that gives up at `deadline` (a time of Now()): kTimeout when no
// message came, kQuit when `message` is WM_QUIT, else kMessage.
WaitResult GetMessageUntil(Message& message, Clock::time_point deadline);

// Handles waiting sent messages, then returns the next message without
// waiting. With `remove` the message is taken from the queue. False when
// nothing is waiting.
bool PeekMessage(Message& message, bool remove);

// Hands a message to its window's procedure and returns the result. A
// WM_TIMER of a timer with a callback calls the callback instead (returns
// 0). A thread message, a stale window or a window of another thread returns
// 0 without effect.
LResult DispatchMessage(const Message& message);

// Handles everything waiting for the calling thread (sent messages, posted
// messages, due timers) and returns once nothing is left. When it meets
// WM_QUIT it puts the quit request back for the outer message loop and
// returns false; otherwise true.
bool PumpWaitingMessages();

// Wakes every thread blocked in GetMessage, GetMessageUntil or SendMessage so
// that it reads the clock again (call after moving a pinned clock).
void WakeMessageQueues();

// ---------------------------------------------------------------------------
// Timers

// Called on the timer's thread when the timer's WM_TIMER is dispatched.
using TimerCallback = std::function<void(WindowHandle window, TimerId timer_id)>;

// The shortest interval; shorter ones are raised to it.
inline constexpr std::chrono::milliseconds kMinimumTimerInterval{10};

// Starts (or restarts) a timer that falls due every `interval` from Now().
// With a window (owned by the calling thread) the timer is known by the
// window and `timer_id`, which is returned; WM_TIMER goes to the window.
// Without a window it is a thread timer of the calling thread: `timer_id` is
// ignored and a new id is returned; its WM_TIMER is a thread message, so it
// needs a callback to have any effect. Returns 0 on failure (a stale window,
// a window of another thread, or a zero id with a window).
TimerId SetTimer(WindowHandle window, TimerId timer_id, std::chrono::milliseconds interval,
                 TimerCallback callback = {});

// Stops a timer; a WM_TIMER of it already taken is still dispatched, but a
// callback is not called any more. False when there is no such timer (a
// thread timer can only be stopped by its own thread).
bool KillTimer(WindowHandle window, TimerId timer_id);

// ---------------------------------------------------------------------------
// Message boxes

// Button sets and icons (flags), and answers.
inline constexpr std::uint32_t MB_OK = 0x0000;
inline constexpr std::uint32_t MB_OKCANCEL = 0x0001;
inline constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr std::uint32_t MB_YESNOCANCEL = 0x0003;
inline constexpr std::uint32_t MB_YESNO = 0x0004;
inline constexpr std::uint32_t MB_RETRYCANCEL = 0x0005;
inline constexpr std::uint32_t MB_TYPEMASK = 0x000F;
inline constexpr std::uint32_t MB_ICONERROR = 0x0010;
inline constexpr std::uint32_t MB_ICONQUESTION = 0x0020;
inline constexpr std::uint32_t MB_ICONWARNING = 0x0030;
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x0040;
inline constexpr std::uint32_t MB_DEFBUTTON2 = 0x0100;
inline constexpr std::uint32_t MB_DEFBUTTON3 = 0x0200;
inline constexpr std::uint32_t MB_DEFMASK = 0x0F00;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// One message box as it was shown.
struct MessageBoxRequest {
  WindowHandle owner;
  std::string text;
  std::string caption;
  std::uint32_t flags = MB_OK;
  ThreadId thread = 0;
  int id = 0;  // process-wide number of the box, by which a front end answers it
};

// Answers a box (returns an ID answer), on the thread that shows it.
using MessageBoxHandler = std::function<int(const MessageBoxRequest& request)>;

// Installs the handler that answers every message box, process-wide; an
// empty function restores the headless default: the box's default button
// (the first button, or the one MB_DEFBUTTON2/3 names).
void SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a message box, records it (ShownMessageBoxes) and returns its answer
// (an ID value). When a front end has declared itself present
// (SetFrontEndPresent, winsys_input.h), the box waits for the front end's
// answer (AnswerMessageBox) in a modal loop: it is pending in the snapshot,
// its owner's top-level window is disabled, and the calling thread goes on
// handling its messages; a WM_QUIT ends the wait with the default answer and
// is put back for the outer loop. Without a front end the installed handler
// answers (called outside any lock), else the default button.
int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               std::uint32_t flags);

// The answer of the default button of a box with these flags.
int DefaultMessageBoxAnswer(std::uint32_t flags);

// The answers of the buttons of a box with these flags, left to right, as a
// front end draws them (IDOK alone for an unknown button set).
std::vector<int> MessageBoxButtons(std::uint32_t flags);

// Every box shown since the start or the last ClearShownMessageBoxes, oldest
// first.
std::vector<MessageBoxRequest> ShownMessageBoxes();
void ClearShownMessageBoxes();

}  // namespace tavi::platform
