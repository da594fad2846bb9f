#pragma once

// The About box (template 102): Tavi's picture beside its caption's text,
// buttons that open the project's pages in the browser (the box stays
// open), and Close, which ends it. The texts are composed by its opener.

#include <string>

#include "platform/winsys.h"
#include "ui/dialog_window.h"

namespace tavi {

class AboutDialog : public DialogWindow {
 public:
  // `caption` for the window, `text` for its label. Run it with RunModal
  // over the window it was opened from; it returns IDOK for Close and
  // IDCANCEL for Escape or the close box.
  AboutDialog(std::string caption, std::string text);

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  void OnClose();
  void OnHomePage();
  void OnReleaseNotes();
  void OpenPage(const char* address);

  const std::string caption_;
  const std::string text_;
};

}  // namespace tavi
