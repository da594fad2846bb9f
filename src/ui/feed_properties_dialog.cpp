#include "ui/feed_properties_dialog.h"

#include <utility>

#include "engine/feed_acceptance.h"
#include "engine/feed_title.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_shell.h"
#include "res/feed_properties_ids.h"
#include "ui/feed_properties_texts.h"
#include "ui/feed_validator.h"
#include "ui/help_page.h"
#include "ui/information_dialog.h"
#include "ui/mailboxes_dialog.h"

namespace tavi {
namespace {

using namespace res::feed_properties;

constexpr int kStored = 1;

// The controls that OK and Validate keep still while they work.
constexpr int kInputControls[] = {
    kAliasEdit,          kUrlEdit,      kNewsboxButton, kReferringArticlesBox,
    kOnlyNewArticlesBox, kAutoCheckBox, kIntervalEdit};

bool ShiftHeld() { return platform::GetAsyncKeyState(platform::virtual_key::kShift) < 0; }

}  // namespace

FeedPropertiesDialog::FeedPropertiesDialog(WindowContext context, std::string alias)
    : DialogWindow(kDialog), context_(std::move(context)), original_alias_(std::move(alias)) {
  if (original_alias_.empty()) {
    feed_ = NewFeedRecord("", "");
  } else {
    FeedEdit stored = ReadStoredFeed(original_alias_, context_.paths.settings_file);
    feed_ = std::move(stored.feed);
    last_article_ = std::move(stored.last_article);
  }
  MapMessage(platform::WM_INITDIALOG, &FeedPropertiesDialog::OnInitDialog);
  MapMessage(platform::WM_CLOSE, &FeedPropertiesDialog::OnClose);
  MapCommand(kOkButton, &FeedPropertiesDialog::OnOk);
  MapCommand(kCancelButton, &FeedPropertiesDialog::OnCancel);
  MapCommand(platform::IDCANCEL, &FeedPropertiesDialog::OnCancel);
  MapCommand(kValidateButton, &FeedPropertiesDialog::OnValidate);
  MapCommand(kNewsboxButton, &FeedPropertiesDialog::OnNewsbox);
  MapCommand(kHelpButton, &FeedPropertiesDialog::OnHelp);
  MapCommand(kReferringArticlesBox, &FeedPropertiesDialog::OnReferringArticlesBox);
  MapCommand(kOnlyNewArticlesBox, &FeedPropertiesDialog::OnOnlyNewArticlesBox);
  MapCommand(kAutoCheckBox, &FeedPropertiesDialog::OnAutoCheckBox);
}

platform::LResult FeedPropertiesDialog::OnInitDialog(platform::WParam, platform::LParam) {
  // Enter presses no button: a person typing an address ends with it.
  platform::SetDialogKeys(Handle(), {.enter = false, .escape = true});
  SetItemText(kNewsboxButton, NewsboxButtonText(feed_));
  if (!original_alias_.empty()) SetItemText(kInfoLine, FeedInfoLine(feed_.Name));
  SetItemText(kAliasEdit, feed_.Alias);
  SetItemText(kUrlEdit, feed_.URL);
  platform::CheckDlgButton(Handle(), kReferringArticlesBox, feed_.DownloadReferringArticles == 1);
  platform::CheckDlgButton(Handle(), kOnlyNewArticlesBox, feed_.DownloadOnlyNewArticles == 1);
  platform::CheckDlgButton(Handle(), kAutoCheckBox, feed_.AutoCheck == 1);
  EnableItem(kIntervalEdit, feed_.AutoCheck == 1);
  SetItemText(kIntervalEdit, std::to_string(feed_.IntervalMinutes));
  ShowOptionIcon();
  return 1;
}

platform::LResult FeedPropertiesDialog::OnClose(platform::WParam, platform::LParam) {
  // Only OK and Cancel end the dialog.
  return 0;
}

void FeedPropertiesDialog::OnOk() {
  ReadAliasAndUrl();
  if (!AcceptFeedDefinition(feed_, context_.feed_file)) return;
  EnableInputs(false);
  // The interval and its rule apply to what is stored; the dialog's boxes
  // stay as the person left them in case the alias is refused.
  FeedRecord definition = feed_;
  definition.IntervalMinutes = IntervalFromText(ItemText(kIntervalEdit));
  ApplyIntervalRule(definition);
  const StoreResult stored =
      StoreFeed(definition, last_article_, original_alias_, context_.paths.settings_file);
  if (stored.Stored()) {
    feed_ = std::move(definition);
    EndDialog(kStored);
    return;
  }
  if (stored.clash != StoreResult::Clash::kNone)
    ShowInformation(InputsFor(InformationMode::kDuplicateAlias, feed_.Name));
  EnableInputs(true);
}

void FeedPropertiesDialog::OnCancel() { EndDialog(platform::IDCANCEL); }

void FeedPropertiesDialog::OnValidate() {
  ReadAliasAndUrl();
  if (ShiftHeld()) {
    ValidateByTestDownload();
    return;
  }
  if (feed_.URL.empty()) return;
  // Fire and forget: a browser that cannot be started leaves the dialog as
  // it is.
  platform::ShellExecute(Handle(), "open", FeedValidatorAddress(feed_.URL), "",
                         platform::SW_SHOWNORMAL);
}

void FeedPropertiesDialog::OnNewsbox() {
  const std::optional<MailboxEntry> chosen =
      PickMailbox(Handle(), context_.paths.data_folder, context_.help_file, feed_.NewsboxPath);
  if (!chosen) return;
  feed_.Newsbox = chosen->name;
  feed_.NewsboxPath = chosen->path;
  SetItemText(kNewsboxButton, feed_.Newsbox);
}

void FeedPropertiesDialog::OnHelp() { ShowHelpPage(context_.help_file, kSettingsHelpPage); }

void FeedPropertiesDialog::OnReferringArticlesBox() {
  ToggleOption(kReferringArticlesBox, feed_.DownloadReferringArticles);
}

void FeedPropertiesDialog::OnOnlyNewArticlesBox() {
  ToggleOption(kOnlyNewArticlesBox, feed_.DownloadOnlyNewArticles);
}

void FeedPropertiesDialog::OnAutoCheckBox() {
  ToggleOption(kAutoCheckBox, feed_.AutoCheck);
  EnableItem(kIntervalEdit, feed_.AutoCheck == 1);
}

void FeedPropertiesDialog::ToggleOption(int box, int& flag) {
  flag = flag == 1 ? 0 : 1;
  platform::CheckDlgButton(Handle(), box, flag == 1);
  ShowOptionIcon();
}

void FeedPropertiesDialog::ShowOptionIcon() {
  platform::SetWindowIcon(Item(kOptionPicture), OptionIconOf(feed_));
}

void FeedPropertiesDialog::EnableInputs(bool enable) {
  for (const int control : kInputControls) EnableItem(control, enable);
  // The interval follows its box, whatever the others do.
  if (enable) EnableItem(kIntervalEdit, feed_.AutoCheck == 1);
}

void FeedPropertiesDialog::ReadAliasAndUrl() {
  feed_.Alias = ItemText(kAliasEdit);
  feed_.URL = ItemText(kUrlEdit);
}

// The test download on request: the report names the feed as it was before
// the test, and a feed without a name keeps the one the test learned.
void FeedPropertiesDialog::ValidateByTestDownload() {
  EnableInputs(false);
  const std::string name_before = feed_.Name;
  const FeedTitleResult learned = LearnFeedTitle(feed_.URL, context_.feed_file);
  if (learned.parsed && feed_.Name.empty())
    feed_.Name = NameFromLearnedTitle(learned.title, feed_.Alias);
  InformationInputs inputs = InputsFor(
      learned.parsed ? InformationMode::kValidFeed : InformationMode::kRunResult, name_before);
  inputs.feeds_processed = 1;
  inputs.result = kCheckFailed;
  ShowInformation(inputs);
  EnableInputs(true);
}

void FeedPropertiesDialog::ShowInformation(const InformationInputs& inputs) {
  InformationDialog(inputs, context_.product_name).RunModal(Handle());
}

InformationInputs FeedPropertiesDialog::InputsFor(InformationMode mode,
                                                  const std::string& name) const {
  InformationInputs inputs;
  inputs.mode = mode;
  inputs.feed_name = name;
  inputs.url = feed_.URL;
  inputs.newsbox = feed_.Newsbox;
  return inputs;
}

bool ShowFeedProperties(platform::WindowHandle owner, const WindowContext& context,
                        const std::string& alias) {
  return FeedPropertiesDialog(context, alias).RunModal(owner) == kStored;
}

}  // namespace tavi
