#include "delivery/host_automation.h"

#include <cassert>

#include "delivery/host_members.h"
#include "delivery/mailbox_file.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"
#include "store/pacing.h"
#include "version.h"

namespace tavi {
namespace {

namespace members = host_members;
using platform::DispatchPtr;

// One pair of helpers serves item and message collections alike.
static_assert(members::collection::kItem == members::messages::kItem &&
              members::collection::kCount == members::messages::kCount);

constexpr std::size_t kMaxErrorTextLength = 4096;
constexpr const char* kReadyStatusText = "Tavi. For Help, press F1.";

bool IsMailbox(const DispatchPtr& item) {
  return item->Get(members::item::kIsMailbox).AsInteger() != 0;
}

bool HasPath(const DispatchPtr& item, const std::string& path) {
  return platform::EqualsIgnoringCase(item->Get(members::item::kPath).AsText(), path);
}

bool OpenInHostWindow(const DispatchPtr& mailbox) {
  return mailbox->Invoke(members::item::kOpen, platform::InvokeKind::kCall, {}).ok;
}

DispatchPtr Children(const DispatchPtr& folder) {
  return folder->Get(members::item::kChildren).AsObject();
}

// Cuts the text to at most `limit` bytes without splitting a UTF-8 sequence.
std::string CutToLength(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::string WithoutTrailingSeparators(std::string path) {
  while (!path.empty() && path.back() == platform::kPathSeparator) path.pop_back();
  return path;
}

// The walk shared by the two path searches. A match stops the walk of its
// own level only: the levels around it go on, and a later match there
// replaces the number.
std::int32_t FindItemByPath(const DispatchPtr& collection, const std::string& path,
                            bool want_mailbox) {
  std::int32_t number = kNoItemNumber;
  const std::int32_t count = CollectionCount(collection);
  for (std::int32_t index = 1; index <= count; ++index) {
    const DispatchPtr item = CollectionEntry(collection, index);
    if (!item) continue;
    const bool is_mailbox = IsMailbox(item);
    if (is_mailbox == want_mailbox && HasPath(item, path))
      return item->Get(members::item::kNumber).AsInteger();
    if (is_mailbox) continue;
    const std::int32_t inner = FindItemByPath(Children(item), path, want_mailbox);
    if (inner != kNoItemNumber) number = inner;
  }
  return number;
}

}  // namespace

HostConnection::HostConnection() {
  platform::InvokeResult created = platform::CreateAutomationObject(kHostProgramId);
  if (created.ok) application_ = created.value.AsObject();
  if (application_) return;
  error_text_ = created.ok ? "The automation server gave no object." : created.error;
}

void HostConnection::ReportError() const {
  platform::MessageBox({}, error_text_, TAVI_PRODUCT_NAME,
                       platform::MB_OK | platform::MB_ICONERROR);
}

platform::DispatchObject& HostConnection::Application() const {
  assert(application_ && "the host connection is used although it failed");
  return *application_;
}

DispatchPtr HostConnection::TopLevel() const {
  return Application().Get(members::application::kTopLevel).AsObject();
}

DispatchPtr HostConnection::ItemByName(const std::string& name) const {
  return Application()
      .Call(members::application::kItemByName, {name, members::kLookupOption})
      .AsObject();
}

DispatchPtr HostConnection::ItemByNumber(std::int32_t number) const {
  return Application()
      .Call(members::application::kItemByNumber, {number, members::kLookupOption})
      .AsObject();
}

bool HostConnection::SetStatusText(const std::string& text) const {
  return Application().Put(members::application::kStatusText, text);
}

DispatchPtr MailboxByPathOrName(const HostConnection& connection, const std::string& path,
                                const std::string& name) {
  const std::int32_t number = FindMailboxByPath(connection.TopLevel(), path);
  if (number != kNoItemNumber) return connection.ItemByNumber(number);
  return connection.ItemByName(name);
}

std::int32_t CollectionCount(const DispatchPtr& collection) {
  if (!collection) return 0;
  return collection->Get(members::collection::kCount).AsInteger();
}

DispatchPtr CollectionEntry(const DispatchPtr& collection, std::int32_t index) {
  if (!collection) return nullptr;
  return collection->Get(members::collection::kItem, {index}).AsObject();
}

bool ShowReadyStatus(std::string& error_text) {
  const HostConnection connection;
  if (!connection.IsConnected()) {
    error_text = CutToLength(connection.ErrorText(), kMaxErrorTextLength);
    return false;
  }
  connection.SetStatusText(kReadyStatusText);
  return true;
}

bool ShowNewArticlesStatus(const std::string& count_text) {
  const HostConnection connection;
  if (!connection.IsConnected()) return false;
  connection.SetStatusText("Tavi. Ready. Total number of new articles: " + count_text +
                           ". Have a nice day.");
  return true;
}

std::string CreateTopLevelMailbox(const std::string& mailbox_name) {
  const std::string name = SafeMailboxName(mailbox_name);
  const HostConnection connection;
  if (!connection.IsConnected()) {
    connection.ReportError();
    return "";
  }
  const DispatchPtr top = connection.TopLevel();
  if (top) top->Call(members::collection::kCreateMailbox, {name, members::kLookupOption});
  const DispatchPtr created = connection.ItemByName(name);
  if (!created) return "";
  return created->Get(members::item::kPath).AsText();
}

std::string CreateMailboxInFolder(const std::string& mailbox_name, const std::string& folder_path) {
  if (!IsValidFileName(mailbox_name)) return "";
  const std::string wanted_path = WithoutTrailingSeparators(folder_path);
  const HostConnection connection;
  if (!connection.IsConnected()) {
    connection.ReportError();
    return "";
  }
  const std::int32_t number = FindFolderByPath(connection.TopLevel(), wanted_path);
  if (number == kNoItemNumber) return "";
  const DispatchPtr folder = connection.ItemByNumber(number);
  const DispatchPtr children = folder ? Children(folder) : nullptr;
  if (!children) return "";
  const platform::InvokeResult created =
      children->Invoke(members::collection::kCreateMailbox, platform::InvokeKind::kCall,
                       {mailbox_name, members::kLookupOption});
  if (!created.ok) return "";
  // The folder's path as the host spells it: the one given may differ in
  // letter case, which names another folder on this file system.
  return platform::JoinPath(folder->Get(members::item::kPath).AsText(), mailbox_name + ".mbx");
}

bool OpenHostMailbox(const std::string& mailbox_name) {
  const HostConnection connection;
  if (!connection.IsConnected()) {
    connection.ReportError();
    return false;
  }
  const DispatchPtr mailbox = connection.ItemByName(mailbox_name);
  // Callers close the host's topmost window after a successful open: a
  // mailbox that did not open must not count as opened.
  if (!mailbox || !OpenInHostWindow(mailbox)) return false;
  PaceWait(&Pacing::after_opening_mailbox);
  return true;
}

bool OpenHostMailboxByPath(const std::string& mailbox_path) {
  const HostConnection connection;
  if (!connection.IsConnected()) {
    connection.ReportError();
    return false;
  }
  const std::int32_t number = FindMailboxByPath(connection.TopLevel(), mailbox_path);
  if (number == kNoItemNumber) return false;
  const DispatchPtr mailbox = connection.ItemByNumber(number);
  if (!mailbox || !OpenInHostWindow(mailbox)) return false;
  connection.SetStatusText(mailbox->Get(members::item::kName).AsText());
  return true;
}

bool CloseHostMailboxWindow(platform::WindowHandle mdi_client, const std::string& title) {
  // Without a document area a search would run over the top-level windows,
  // where an untitled window is anyone's.
  if (!mdi_client) return false;
  const platform::WindowHandle window =
      platform::FindChildWindow(mdi_client, platform::kAnyText, title);
  if (!window) return false;
  platform::SendMessage(window, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
  return true;
}

std::int32_t FindMailboxByPath(const DispatchPtr& collection, const std::string& path) {
  return FindItemByPath(collection, path, true);
}

std::int32_t FindFolderByPath(const DispatchPtr& collection, const std::string& path) {
  return FindItemByPath(collection, path, false);
}

bool CollectMessageIds(const std::string& mailbox_path, const std::string& mailbox_name,
                       std::unordered_set<std::string>& message_ids) {
  const HostConnection connection;
  if (!connection.IsConnected()) return true;
  const DispatchPtr mailbox = MailboxByPathOrName(connection, mailbox_path, mailbox_name);
  if (!mailbox) return true;
  const DispatchPtr messages = mailbox->Get(members::item::kMessages).AsObject();
  for (std::int32_t index = CollectionCount(messages); index >= 1; --index) {
    const DispatchPtr message = CollectionEntry(messages, index);
    if (!message) continue;
    message_ids.insert(
        message->Get(members::message::kField, {members::message::kMessageIdField}).AsText());
    // Keeps the window that asked responsive while a large mailbox is read.
    platform::PumpWaitingMessages();
  }
  return true;
}

void MoveAllMessages(const std::string& source_name, std::int32_t target_number) {
  const HostConnection connection;
  if (!connection.IsConnected()) return;
  const DispatchPtr source = connection.ItemByName(source_name);
  const DispatchPtr target = connection.ItemByNumber(target_number);
  if (!source || !target) return;
  const DispatchPtr messages = source->Get(members::item::kMessages).AsObject();
  // From the last to the first, so that each move leaves the positions still
  // to come unchanged.
  for (std::int32_t index = CollectionCount(messages); index >= 1; --index) {
    const DispatchPtr message = CollectionEntry(messages, index);
    if (!message) continue;
    message->Put(members::message::kState, members::message::kStateBeforeMove);
    message->Call(members::message::kMoveTo, {target});
  }
}

}  // namespace tavi
