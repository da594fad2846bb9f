#include "host/host.h"

namespace tavi::host {
namespace {

constexpr const char* kNoSubjectTitle = "No Subject";

std::string OutgoingText(const OutgoingMessage& message) {
  std::string text = "Subject: " + message.subject + "\r\n";
  if (!message.attachment.empty()) text += "X-Attachments: " + message.attachment + "\r\n";
  return text + "\r\n" + message.body;
}

}  // namespace

std::unique_ptr<Host> Host::Start(const std::string& data_folder, const HostOptions& options) {
  std::unique_ptr<Host> host(new Host());
  host->store_ = MailStore::Open(
      data_folder, options.read_only ? StoreAccess::kReadOnly : StoreAccess::kReadWrite);
  if (host->store_ == nullptr) return nullptr;
  host->windows_ = HostWindows::Create();
  if (host->windows_ == nullptr) return nullptr;
  host->server_ = std::make_unique<AutomationServer>(*host->store_, *host);
  host->server_->SetEnabled(options.automation_enabled);
  return host;
}

Host::~Host() {
  // The server first, so no client reaches the store while it goes; the
  // store last, writing what is still pending.
  server_.reset();
  windows_.reset();
  store_.reset();
}

void Host::SetChangeListener(HostChangeListener listener) {
  store_->SetChangeListener(listener);
  listener_ = std::move(listener);
}

void Host::SetStatusText(const std::string& text) {
  windows_->SetStatusText(text);
  if (listener_) listener_({HostChangeKind::kStatusText, 0});
}

void Host::SetAutomationEnabled(bool enabled) {
  if (enabled == server_->Enabled()) return;
  server_->SetEnabled(enabled);
  if (listener_) listener_({HostChangeKind::kAutomation, 0});
}

std::string Host::StatusText() const { return windows_->StatusText(); }

bool Host::OpenMailbox(int number) {
  const std::optional<ItemInfo> info = store_->Item(number);
  if (!info || info->folder || !store_->ReadMailboxForOpening(number)) return false;
  return static_cast<bool>(windows_->ShowMailbox(number, info->name));
}

void Host::ComposeMessage(const OutgoingMessage& message) {
  composed_.push_back(message);
  store_->AddMessage(kOutMailboxNumber, OutgoingText(message));
  windows_->ShowMessage(message.subject.empty() ? kNoSubjectTitle : message.subject);
}

}  // namespace tavi::host
