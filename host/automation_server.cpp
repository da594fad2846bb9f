#include "host/automation_server.h"

#include <limits>

#include "host/mail_store.h"

namespace tavi::host {

// What every object of the server reaches; cleared when the server goes, so
// objects that clients still hold fail instead of touching a dead store.
struct ServerContext {
  MailStore* store = nullptr;
  HostServices* services = nullptr;
};

namespace {

using platform::DispatchPtr;
using platform::InvokeKind;
using platform::InvokeResult;
using platform::Variant;
using Arguments = std::vector<Variant>;

InvokeResult MemberNotFound() { return InvokeResult::Failure(kMemberNotFound); }
InvokeResult Value(Variant value) { return InvokeResult::Value(std::move(value)); }
InvokeResult Object(DispatchPtr object) { return InvokeResult::Value(Variant(std::move(object))); }
InvokeResult NullObject() { return InvokeResult::Value(Variant(DispatchPtr())); }
InvokeResult Flag(bool set) { return InvokeResult::Value(Variant(std::int32_t{set ? 1 : 0})); }
InvokeResult Text(std::string_view text) { return InvokeResult::Value(Variant(std::string(text))); }
InvokeResult Done() { return InvokeResult::Value(Variant()); }

// Clients read properties and call methods with either kind, as late-bound
// callers commonly do; only a put is told apart.
bool IsRead(InvokeKind kind) { return kind != InvokeKind::kPut; }

std::int16_t ToState(std::int32_t value) {
  constexpr std::int32_t kLowest = std::numeric_limits<std::int16_t>::min();
  constexpr std::int32_t kHighest = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(std::min(std::max(value, kLowest), kHighest));
}

// One client's connection. Every object obtained through one application
// object shares it; when the last of them is released, the store writes what
// the connection's moves left pending.
class Connection {
 public:
  explicit Connection(std::shared_ptr<ServerContext> context) : context_(std::move(context)) {}
  ~Connection() {
    if (context_->store != nullptr) context_->store->Flush();
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Alive() const { return context_->store != nullptr; }
  MailStore& Store() const { return *context_->store; }
  HostServices& Services() const { return *context_->services; }
  const ServerContext* Context() const { return context_.get(); }

 private:
  std::shared_ptr<ServerContext> context_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

class ServerObject : public platform::DispatchObject {
 public:
  explicit ServerObject(ConnectionPtr connection) : connection_(std::move(connection)) {}

  InvokeResult Invoke(std::int32_t dispatch_id, InvokeKind kind, const Arguments& arguments) final {
    if (!connection_->Alive()) return InvokeResult::Failure(kServerUnavailable);
    return Handle(dispatch_id, kind, arguments);
  }

  const ConnectionPtr& connection() const { return connection_; }

 protected:
  virtual InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                              const Arguments& arguments) = 0;
  MailStore& Store() const { return connection_->Store(); }
  HostServices& Services() const { return connection_->Services(); }

 private:
  ConnectionPtr connection_;
};

// --- Items

class ItemObject final : public ServerObject {
 public:
  ItemObject(ConnectionPtr connection, int number)
      : ServerObject(std::move(connection)), number_(number) {}
  int number() const { return number_; }

 protected:
  InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                      const Arguments& arguments) override;

 private:
  int number_;
};

class CollectionObject final : public ServerObject {
 public:
  CollectionObject(ConnectionPtr connection, int folder)
      : ServerObject(std::move(connection)), folder_(folder) {}

 protected:
  InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                      const Arguments& arguments) override {
    if (!IsRead(kind)) return MemberNotFound();
    switch (dispatch_id) {
      case collection_member::kItem:
        return ItemAt(arguments);
      case collection_member::kCount:
        return Value(static_cast<std::int32_t>(Store().Children(folder_).size()));
      case collection_member::kCreateMailbox:
        return CreateMailbox(arguments);
    }
    return MemberNotFound();
  }

 private:
  InvokeResult ItemAt(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    const std::vector<int> children = Store().Children(folder_);
    const std::int32_t index = arguments[0].AsInteger();
    if (index < 1 || static_cast<std::size_t>(index) > children.size()) {
      return InvokeResult::Failure(kBadIndex);
    }
    return Object(std::make_shared<ItemObject>(connection(), children[index - 1]));
  }

  InvokeResult CreateMailbox(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    if (!Store().CreateMailbox(folder_, arguments[0].AsText())) {
      return InvokeResult::Failure(kOperationFailed);
    }
    return Done();
  }

  int folder_;
};

// --- Messages

class MessageObject final : public ServerObject {
 public:
  MessageObject(ConnectionPtr connection, MessagePtr message)
      : ServerObject(std::move(connection)), message_(std::move(message)) {}

 protected:
  InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                      const Arguments& arguments) override {
    if (dispatch_id == message_member::kState) return State(kind, arguments);
    if (!IsRead(kind)) return MemberNotFound();
    switch (dispatch_id) {
      case message_member::kBody:
        return Text(message_->Body());
      case message_member::kField:
        return Field(arguments);
      case message_member::kNumber:
        return Value(static_cast<std::int32_t>(message_->Number()));
      case message_member::kText:
        return Text(message_->Text());
      case message_member::kSubject:
        return Text(message_->Subject());
      case message_member::kMoveTo:
        return MoveTo(arguments);
    }
    return MemberNotFound();
  }

 private:
  InvokeResult Field(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    if (arguments[0].AsInteger() != message_member::kMessageIdField) {
      return InvokeResult::Failure(kBadIndex);
    }
    return Text(message_->MessageId());
  }

  InvokeResult State(InvokeKind kind, const Arguments& arguments) const {
    if (IsRead(kind)) return Value(static_cast<std::int32_t>(message_->State()));
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    if (!Store().SetMessageState(message_, ToState(arguments[0].AsInteger()))) {
      return InvokeResult::Failure(kOperationFailed);
    }
    return Done();
  }

  InvokeResult MoveTo(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    const auto* target = dynamic_cast<const ItemObject*>(arguments[0].AsObject().get());
    // A target from another server instance names an item of another store.
    if (target == nullptr || target->connection()->Context() != connection()->Context()) {
      return InvokeResult::Failure(kTypeMismatch);
    }
    const std::optional<ItemInfo> info = Store().Item(target->number());
    if (!info || info->folder) return InvokeResult::Failure(kTypeMismatch);
    if (!Store().MoveMessage(message_, target->number())) {
      return InvokeResult::Failure(kOperationFailed);
    }
    return Done();
  }

  MessagePtr message_;
};

class MessageCollectionObject final : public ServerObject {
 public:
  MessageCollectionObject(ConnectionPtr connection, int mailbox)
      : ServerObject(std::move(connection)), mailbox_(mailbox) {}

 protected:
  InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                      const Arguments& arguments) override {
    if (!IsRead(kind)) return MemberNotFound();
    switch (dispatch_id) {
      case message_collection_member::kItem:
        return MessageAt(arguments);
      case message_collection_member::kCount:
        return Count();
    }
    return MemberNotFound();
  }

 private:
  InvokeResult MessageAt(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    const std::int32_t index = arguments[0].AsInteger();
    MessagePtr message =
        index < 1 ? nullptr : Store().MessageAt(mailbox_, static_cast<std::size_t>(index - 1));
    if (message == nullptr) return InvokeResult::Failure(kBadIndex);
    return Object(std::make_shared<MessageObject>(connection(), std::move(message)));
  }

  InvokeResult Count() const {
    const std::optional<std::size_t> count = Store().MessageCount(mailbox_);
    if (!count) return InvokeResult::Failure(kOperationFailed);
    return Value(static_cast<std::int32_t>(*count));
  }

  int mailbox_;
};

InvokeResult ItemObject::Handle(std::int32_t dispatch_id, InvokeKind kind,
                                const Arguments& /*arguments*/) {
  const std::optional<ItemInfo> info = Store().Item(number_);
  if (!info) return InvokeResult::Failure(kOperationFailed);
  if (!IsRead(kind)) return MemberNotFound();
  switch (dispatch_id) {
    case item_member::kIsMailbox:
      return Flag(!info->folder);
    case item_member::kIsFolder:
      return Flag(info->folder);
    case item_member::kHidden:
      return Flag(info->hidden);
    case item_member::kChildren:
      return Object(std::make_shared<CollectionObject>(connection(), number_));
    case item_member::kPath:
      return Text(info->path);
    case item_member::kNumber:
      return Value(static_cast<std::int32_t>(number_));
    case item_member::kMessages:
      return Object(std::make_shared<MessageCollectionObject>(connection(), number_));
    case item_member::kName:
      return Text(info->name);
    case item_member::kOpen:
      if (!Services().OpenMailbox(number_)) return InvokeResult::Failure(kOperationFailed);
      return Done();
  }
  return MemberNotFound();
}

// --- The application

class ApplicationObject final : public ServerObject {
 public:
  using ServerObject::ServerObject;

 protected:
  InvokeResult Handle(std::int32_t dispatch_id, InvokeKind kind,
                      const Arguments& arguments) override {
    if (dispatch_id == application_member::kStatusText) return StatusText(kind, arguments);
    if (!IsRead(kind)) return MemberNotFound();
    switch (dispatch_id) {
      case application_member::kTopLevel:
        // A client walking the tree sees mailbox files that appeared since.
        Store().ReadFoldersAgain();
        return Object(std::make_shared<CollectionObject>(connection(), kTopLevel));
      case application_member::kItemByName:
        return ItemByName(arguments);
      case application_member::kItemByNumber:
        return ItemByNumber(arguments);
      case application_member::kNewMessage:
        return NewMessage(arguments);
    }
    return MemberNotFound();
  }

 private:
  InvokeResult StatusText(InvokeKind kind, const Arguments& arguments) const {
    if (IsRead(kind)) return Text(Services().StatusText());
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    Services().SetStatusText(arguments[0].AsText());
    return Done();
  }

  InvokeResult ItemByName(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    const std::optional<int> number = Store().FindByName(arguments[0].AsText());
    if (!number) return NullObject();
    return Object(std::make_shared<ItemObject>(connection(), *number));
  }

  InvokeResult ItemByNumber(const Arguments& arguments) const {
    if (arguments.empty()) return InvokeResult::Failure(kBadParameterCount);
    const std::int32_t number = arguments[0].AsInteger();
    if (!Store().Item(number)) return NullObject();
    return Object(std::make_shared<ItemObject>(connection(), number));
  }

  InvokeResult NewMessage(const Arguments& arguments) const {
    // Arguments 1, 3 and 4 (to, cc, bcc) are never given; missing ones are
    // empty.
    auto text_at = [&](std::size_t index) {
      return index < arguments.size() ? arguments[index].AsText() : std::string();
    };
    Services().ComposeMessage({text_at(1), text_at(4), text_at(5)});
    return Done();
  }
};

}  // namespace

AutomationServer::AutomationServer(MailStore& store, HostServices& services)
    : context_(std::make_shared<ServerContext>(ServerContext{&store, &services})) {}

AutomationServer::~AutomationServer() {
  SetEnabled(false);
  context_->store = nullptr;
  context_->services = nullptr;
}

void AutomationServer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) {
    platform::UnregisterAutomationClass(kAutomationProgramId);
    return;
  }
  std::weak_ptr<ServerContext> weak_context = context_;
  platform::RegisterAutomationClass(kAutomationProgramId, [weak_context]() {
    const std::shared_ptr<ServerContext> context = weak_context.lock();
    if (context == nullptr || context->store == nullptr) {
      return InvokeResult::Failure(kServerUnavailable);
    }
    auto connection = std::make_shared<Connection>(context);
    return Object(std::make_shared<ApplicationObject>(std::move(connection)));
  });
}

}  // namespace tavi::host
