#pragma once

// The stand-in mail client that Tavi plugs into, as a library a program
// embeds: the mail store over a data folder, the automation server
// "Eudora.EuApplication.1" over it, and the host windows (a main window of
// class "EudoraMainWindow", its "MDIClient" child holding one window per
// opened mailbox, and a status bar). It indexes synchronously, so clients need
// no waits. Create and use it on one thread, the host's user-interface thread:
// the windows belong to that thread.

#include <memory>
#include <string>
#include <vector>

#include "host/automation_server.h"
#include "host/host_changes.h"
#include "host/host_windows.h"
#include "host/mail_store.h"

namespace tavi::host {

struct HostOptions {
  // Register the automation server at start.
  bool automation_enabled = true;
  // Open the store read-only (see MailStore): for commands that only look,
  // which may run while another process delivers into the data folder.
  bool read_only = false;
};

class Host final : public HostServices {
 public:
  // Opens the data folder (see MailStore::Open), creates the host windows and
  // registers the automation server when the options ask for it. nullptr
  // when the data folder cannot be opened or the windows cannot be made.
  static std::unique_ptr<Host> Start(const std::string& data_folder,
                                     const HostOptions& options = {});
  // Unregisters the server, destroys the windows and writes every pending
  // change of the store.
  ~Host() override;

  MailStore& Store() { return *store_; }
  HostWindows& Windows() { return *windows_; }

  // Registers or unregisters the automation server (see AutomationServer).
  void SetAutomationEnabled(bool enabled);
  bool AutomationEnabled() const { return server_->Enabled(); }

  // Tells `listener` (empty: nobody) of every change to the mailbox tree, to
  // a mailbox's messages (see MailStore::SetChangeListener), to the
  // status-bar text and to the automation server's switch made through the
  // host.
  void SetChangeListener(HostChangeListener listener);

  // The status-bar text.
  void SetStatusText(const std::string& text) override;
  std::string StatusText() const override;

  // Brings the mailbox's index up to date with its file (see
  // MailStore::ReadMailboxForOpening) and shows its window (bringing an already
  // open one to the top). False when `number` is not a mailbox or its file
  // cannot be read.
  bool OpenMailbox(int number) override;

  // Puts the message into Out (subject, attachment and body as header lines
  // and body) and shows a message window titled with the subject.
  void ComposeMessage(const OutgoingMessage& message) override;
  // Every message composed so far, oldest first.
  const std::vector<OutgoingMessage>& ComposedMessages() const { return composed_; }

 private:
  Host() = default;

  std::unique_ptr<MailStore> store_;
  std::unique_ptr<HostWindows> windows_;
  std::unique_ptr<AutomationServer> server_;
  std::vector<OutgoingMessage> composed_;
  HostChangeListener listener_;
};

}  // namespace tavi::host
