#pragma once

// The host's automation server: dispatch objects over the mail store,
// registered under the program id "Eudora.EuApplication.1". The member
// numbers below are the dispatch ids. Every object a client obtains belongs
// to the connection of the application object it came from; when the last of
// them is released the connection ends and the store writes what the
// connection's moves left pending (MailStore::Flush), so a batch of moves
// costs one rewrite of each file it touched.
//
// Switched off, the server removes its registration: creating the
// application object then fails with the system's "Invalid class string".
// Objects a client still holds keep working until released.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation.h"

namespace tavi::host {

class MailStore;
struct ServerContext;

inline constexpr const char* kAutomationProgramId = "Eudora.EuApplication.1";

// Dispatch ids by object.
namespace application_member {
inline constexpr std::int32_t kTopLevel = 3;       // get: the top-level item collection
inline constexpr std::int32_t kStatusText = 15;    // put (get): the status-bar text
inline constexpr std::int32_t kItemByName = 27;    // call (name, 1): item or null object
inline constexpr std::int32_t kItemByNumber = 28;  // call (number, 1): item or null object
inline constexpr std::int32_t kNewMessage = 29;    // call (six texts): new outgoing message
}  // namespace application_member

namespace collection_member {
inline constexpr std::int32_t kItem = 0;           // get (index from 1): variant with an item
inline constexpr std::int32_t kCount = 1;          // get: number of items
inline constexpr std::int32_t kCreateMailbox = 3;  // call (name, 1): creates a mailbox here
}  // namespace collection_member

namespace item_member {
inline constexpr std::int32_t kIsMailbox = 1;  // get: 1 for a mailbox, else 0
inline constexpr std::int32_t kIsFolder = 2;   // get: 1 for a folder, else 0
inline constexpr std::int32_t kHidden = 4;     // get: 1 for a hidden item, else 0
inline constexpr std::int32_t kChildren = 6;   // get: a folder's item collection
inline constexpr std::int32_t kPath = 7;       // get: ".mbx" file or ".fol" folder path
inline constexpr std::int32_t kNumber = 8;     // get: the item number
inline constexpr std::int32_t kMessages = 10;  // get: a mailbox's message collection
inline constexpr std::int32_t kName = 11;      // get: the display name
inline constexpr std::int32_t kOpen = 15;      // call: index the mailbox and show its window
}  // namespace item_member

namespace message_collection_member {
inline constexpr std::int32_t kItem = 0;   // get (index from 1): variant with a message
inline constexpr std::int32_t kCount = 1;  // get: number of messages
}  // namespace message_collection_member

namespace message_member {
inline constexpr std::int32_t kBody = 3;            // get: the body
inline constexpr std::int32_t kField = 7;           // get (field): kMessageIdField only
inline constexpr std::int32_t kNumber = 8;          // get: the message number
inline constexpr std::int32_t kText = 10;           // get: the whole text
inline constexpr std::int32_t kState = 13;          // put/get: the state, 0 unread
inline constexpr std::int32_t kSubject = 14;        // get: the subject
inline constexpr std::int32_t kMoveTo = 16;         // call (target mailbox item)
inline constexpr std::int32_t kMessageIdField = 8;  // kField's argument for the Message-Id
}  // namespace message_member

// Error texts of failed invocations, as the system words them.
inline constexpr const char* kMemberNotFound = "Member not found.";
inline constexpr const char* kTypeMismatch = "Type mismatch.";
inline constexpr const char* kBadParameterCount = "Invalid number of parameters.";
inline constexpr const char* kBadIndex = "Invalid index.";
inline constexpr const char* kServerUnavailable = "The RPC server is unavailable.";
inline constexpr const char* kOperationFailed = "Unspecified error";

// A new outgoing message as a client asked for it.
struct OutgoingMessage {
  std::string subject;
  std::string attachment;  // a file path, or "" for none
  std::string body;
};

// What the server asks of the host beyond the store.
class HostServices {
 public:
  virtual ~HostServices() = default;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual std::string StatusText() const = 0;
  // Indexes the mailbox and shows it in a window. False when it is not a
  // mailbox or its file cannot be read.
  virtual bool OpenMailbox(int number) = 0;
  virtual void ComposeMessage(const OutgoingMessage& message) = 0;
};

class AutomationServer {
 public:
  // Both must outlive the server. Starts switched off.
  AutomationServer(MailStore& store, HostServices& services);
  // Unregisters; objects clients still hold fail from then on with
  // kServerUnavailable.
  ~AutomationServer();
  AutomationServer(const AutomationServer&) = delete;
  AutomationServer& operator=(const AutomationServer&) = delete;

  // Registers (on) or unregisters (off) the factory under
  // kAutomationProgramId. Only one server should be on at a time: the
  // registry is process-wide.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

 private:
  std::shared_ptr<ServerContext> context_;
  bool enabled_ = false;
};

}  // namespace tavi::host
