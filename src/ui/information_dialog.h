#pragma once

// The information dialog (template 106), the window through which the user
// acknowledges an outcome: it shows what ComposeInformationMessage composes
// for its inputs (caption, text, icon) and offers "Verify this Feed..." when
// the message does, which opens the feed validator's page for the feed's
// address in the browser and leaves the dialog open. OK ends it with 1.

#include <string>

#include "engine/download_run.h"
#include "platform/winsys.h"
#include "ui/dialog_window.h"
#include "ui/information_message.h"

namespace tavi {

// What RunModal returns when the user pressed OK.
inline constexpr int kInformationOk = 1;

class InformationDialog : public DialogWindow {
 public:
  // `inputs` choose and fill the message; `product_name` titles the captions
  // that carry no text of their own. Run it with RunModal, with an owner or
  // without one; it returns 1 for OK and IDCANCEL for Escape or the close box.
  InformationDialog(InformationInputs inputs, std::string product_name);

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  void OnOk();
  void OnVerify();

  const InformationInputs inputs_;
  const std::string product_name_;
};

// The report of a finished run (RunReportInputs of `summary`), shown modally
// over `owner` (none: without an owner) until the user closes it. Returns
// the dialog's result (-1 when it could not be shown).
int ShowRunReport(platform::WindowHandle owner, const RunSummary& summary,
                  const std::string& product_name);

}  // namespace tavi
