#pragma once

// A splitter bar: a thin label of a dialog that the user drags up or down to
// share the dialog's height between the controls above it and those below
// it. The bar takes over the label (its position and thickness come from
// the dialog) and knows its neighbours by their control ids.
//
// A drag starts when the left button goes down on the bar while no window
// holds the mouse capture and the margins leave the bar room to move. The
// bar then captures the mouse, confines the cursor to the allowed range and
// shows its feedback: a window of class kSplitterFeedbackClass, a child of
// the dialog the size of the bar, on top of the dialog's controls, which
// follows the pointer and which a front end draws as an outline of the
// bar's place to be. It is destroyed when the drag ends, so it leaves no
// trace. The drag ends on left button up, right button down, Escape or the
// loss of the capture; every other key is swallowed meanwhile. Then the bar
// moves by the distance reached, Layout runs and the dialog hears
// kSplitterMovedMessage. A drag that ends where it started changes nothing.
//
// The bar and its feedback show the vertical-resize cursor
// (res::kSplitterCursor) through their window cursor.

#include <vector>

#include "platform/winsys.h"

namespace tavi {

// Sent to the dialog after a drag that moved the bar: wParam the signed
// distance in pixels (SplitterDistance reads it), lParam the bar's control id.
inline constexpr platform::MessageId kSplitterMovedMessage = platform::WM_USER + 1000;

// The class of the drag's feedback window.
inline constexpr const char* kSplitterFeedbackClass = "TaviSplitterFeedback";

// The signed distance that kSplitterMovedMessage carries in `wparam`.
int SplitterDistance(platform::WParam wparam);

class SplitterBar {
 public:
  SplitterBar() = default;
  // Hands the label back its own procedure when it still exists.
  ~SplitterBar();
  SplitterBar(const SplitterBar&) = delete;
  SplitterBar& operator=(const SplitterBar&) = delete;

  // Takes over the label `control_id` of `parent`: gives it the notify style,
  // so that the window system hands it the mouse, and the resize cursor, and
  // routes its messages through the bar. False, changing nothing, when
  // `parent` has no such control or this bar is attached already.
  bool Attach(platform::WindowHandle parent, int control_id);

  // The closest the bar's top may come to the dialog's client top and to the
  // top of any control above, and the closest its bottom may come to the
  // client bottom and to the bottom of any control below, in pixels.
  void SetMargins(int top, int bottom);

  // Adds a control whose bottom edge follows the bar, or whose top edge does.
  void AddAbove(int control_id);
  void AddBelow(int control_id);

  // Sets the bottom of every control above to the bar's top minus 1 and the
  // top of every control below to the bar's bottom plus 1 (the other edges
  // stay). Controls that do not exist are skipped.
  void Layout() const;

  // The label, once attached.
  platform::WindowHandle Handle() const { return bar_; }

 private:
  platform::LResult Procedure(platform::WindowHandle window, platform::MessageId message,
                              platform::WParam wparam, platform::LParam lparam);
  void Drag(platform::Point press);
  std::vector<platform::Rect> ScreenRects(const std::vector<int>& control_ids) const;

  platform::WindowHandle parent_;
  platform::WindowHandle bar_;
  int control_id_ = 0;
  platform::WindowProcedure previous_;
  std::vector<int> above_;
  std::vector<int> below_;
  int top_margin_ = 0;
  int bottom_margin_ = 0;
};

}  // namespace tavi
