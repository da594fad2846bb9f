#pragma once

// The Feed Properties dialog (template 103): subscribes a new feed or changes
// one. It collects the alias, the URL, the newsbox (through the mailbox
// picker) and the three options with the interval, learns the feed's own
// title by a test download while the feed has none, and on OK stores the
// definition in one atomic rewrite (StoreFeed), which also refuses an alias
// that another feed has (shown in the information dialog). Any other
// definition that is not acceptable (AcceptFeedDefinition) is refused
// without a word, leaving the dialog open. While it is open the feed's
// stored definition stays in the settings file as it was; Cancel writes
// nothing.

#include <string>

#include "store/feed_definitions.h"
#include "ui/dialog_window.h"
#include "ui/information_message.h"
#include "ui/window_context.h"

namespace tavi {

class FeedPropertiesDialog : public DialogWindow {
 public:
  // For a new feed when `alias` is empty, else to edit the feed stored under
  // `alias` (an alias that is not stored edits an empty definition). Run it
  // with RunModal: 1 when OK stored the definition (Feed()), IDCANCEL for
  // Cancel or Escape.
  FeedPropertiesDialog(WindowContext context, std::string alias);

  // The definition as the dialog holds it; after OK, as it was stored.
  const FeedRecord& Feed() const { return feed_; }

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  platform::LResult OnClose(platform::WParam, platform::LParam);
  void OnOk();
  void OnCancel();
  void OnValidate();
  void OnNewsbox();
  void OnHelp();
  void OnReferringArticlesBox();
  void OnOnlyNewArticlesBox();
  void OnAutoCheckBox();

  void ToggleOption(int box, int& flag);
  void ShowOptionIcon();
  void EnableInputs(bool enable);
  void ReadAliasAndUrl();
  void ValidateByTestDownload();
  void ShowInformation(const InformationInputs& inputs);
  InformationInputs InputsFor(InformationMode mode, const std::string& name) const;

  const WindowContext context_;
  const std::string original_alias_;  // "" for a new feed
  FeedRecord feed_;
  std::string last_article_;
};

// Feed Properties over `owner`: for a new feed when `alias` is empty, else to
// edit the feed `alias`. Returns true when the person pressed OK and the
// definition was stored.
bool ShowFeedProperties(platform::WindowHandle owner, const WindowContext& context,
                        const std::string& alias);

}  // namespace tavi
