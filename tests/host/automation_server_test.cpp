#include "host/automation_server.h"

#include <gtest/gtest.h>
#include <strings.h>

#include "host/host.h"
#include "host/mbx_format.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using platform::DispatchPtr;
using platform::InvokeKind;
using platform::Variant;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string Raw(const std::string& message_id, const std::string& subject = "S") {
  return MakeRawMessage(
      "From ???@??? Sun Dec 6 2026 13:46:41",
      "Subject: " + subject + "\r\nMessage-Id: " + message_id + "\r\n\r\n<x-html>body</x-html>");
}

DispatchPtr Connect() {
  const platform::InvokeResult created = platform::CreateAutomationObject(kAutomationProgramId);
  EXPECT_TRUE(created.ok) << created.error;
  return created.value.AsObject();
}

// The plug-in's own walk: mailboxes compared by path, folders searched.
void FindMailboxByPath(const DispatchPtr& items, const std::string& path, int& number) {
  const int count = items->Get(collection_member::kCount).AsInteger();
  for (int index = 1; index <= count; ++index) {
    const DispatchPtr item = items->Get(collection_member::kItem, {index}).AsObject();
    if (item->Get(item_member::kIsMailbox).AsInteger() == 0) {
      FindMailboxByPath(item->Get(item_member::kChildren).AsObject(), path, number);
      continue;
    }
    if (strcasecmp(item->Get(item_member::kPath).AsText().c_str(), path.c_str()) == 0) {
      number = item->Get(item_member::kNumber).AsInteger();
      return;
    }
  }
}

std::vector<std::string> CollectMessageIds(const DispatchPtr& application,
                                           const std::string& name) {
  std::vector<std::string> ids;
  const DispatchPtr mailbox =
      application->Call(application_member::kItemByName, {name, 1}).AsObject();
  const DispatchPtr messages = mailbox->Get(item_member::kMessages).AsObject();
  for (int index = messages->Get(message_collection_member::kCount).AsInteger(); index >= 1;
       --index) {
    const DispatchPtr message = messages->Get(message_collection_member::kItem, {index}).AsObject();
    ids.push_back(message->Get(message_member::kField, {message_member::kMessageIdField}).AsText());
  }
  return ids;
}

class AutomationServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = Host::Start(dir_.path());
    ASSERT_NE(host_, nullptr);
  }
  std::string PathOf(const std::string& name) const { return dir_.Join(name); }
  MailStore& Store() { return host_->Store(); }

  TempDir dir_;
  std::unique_ptr<Host> host_;
};

TEST_F(AutomationServerTest, SwitchedOffTheServerCannotBeCreated) {
  host_->SetAutomationEnabled(false);
  EXPECT_FALSE(host_->AutomationEnabled());
  const platform::InvokeResult created = platform::CreateAutomationObject(kAutomationProgramId);
  EXPECT_FALSE(created.ok);
  EXPECT_EQ(created.error, platform::kInvalidClassString);
  host_->SetAutomationEnabled(true);
  EXPECT_TRUE(platform::CreateAutomationObject(kAutomationProgramId).ok);
  host_.reset();
  EXPECT_FALSE(platform::CreateAutomationObject(kAutomationProgramId).ok);
}

TEST_F(AutomationServerTest, FindsAMailboxInAFolderInAFolderByPathInAnyCase) {
  Store().CreateFolder(kTopLevel, "Feeds");
  const int inner = *Store().CreateFolder(*Store().FindByName("Feeds"), "Tech");
  const int linux_box = *Store().CreateMailbox(inner, "Linux");
  const DispatchPtr application = Connect();
  const DispatchPtr top = application->Get(application_member::kTopLevel).AsObject();
  int number = -1;
  FindMailboxByPath(top, PathOf("FEEDS.FOL/tech.fol/linux.MBX"), number);
  EXPECT_EQ(number, linux_box);
  const DispatchPtr item =
      application->Call(application_member::kItemByNumber, {number, 1}).AsObject();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Get(item_member::kPath).AsText(), PathOf("Feeds.fol/Tech.fol/Linux.mbx"));
  EXPECT_EQ(item->Get(item_member::kName).AsText(), "Linux");
  const DispatchPtr folder =
      application->Call(application_member::kItemByNumber, {inner, 1}).AsObject();
  EXPECT_EQ(folder->Get(item_member::kIsFolder).AsInteger(), 1);
  EXPECT_EQ(folder->Get(item_member::kPath).AsText(), PathOf("Feeds.fol/Tech.fol"));
}

TEST_F(AutomationServerTest, LooksUpItemsByNameAndNumber) {
  const DispatchPtr application = Connect();
  const DispatchPtr in = application->Call(application_member::kItemByNumber, {2, 1}).AsObject();
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->Get(item_member::kName).AsText(), "In");
  EXPECT_EQ(in->Get(item_member::kPath).AsText(), PathOf("In.mbx"));
  const Variant missing = application->Call(application_member::kItemByName, {"Nowhere", 1});
  EXPECT_TRUE(missing.IsObject());
  EXPECT_EQ(missing.AsObject(), nullptr);
  EXPECT_EQ(application->Call(application_member::kItemByNumber, {999, 1}).AsObject(), nullptr);
  EXPECT_EQ(application->Call(application_member::kItemByNumber, {kTopLevel, 1}).AsObject(),
            nullptr);
}

TEST_F(AutomationServerTest, CreatesTheStagingMailboxAndGivesItsPath) {
  const DispatchPtr application = Connect();
  const DispatchPtr top = application->Get(application_member::kTopLevel).AsObject();
  const int before = top->Get(collection_member::kCount).AsInteger();
  EXPECT_TRUE(top->Invoke(collection_member::kCreateMailbox, InvokeKind::kCall, {"Pending", 1}).ok);
  EXPECT_EQ(top->Get(collection_member::kCount).AsInteger(), before + 1);
  const DispatchPtr pending =
      application->Call(application_member::kItemByName, {"Pending", 1}).AsObject();
  ASSERT_NE(pending, nullptr);
  EXPECT_EQ(pending->Get(item_member::kPath).AsText(), PathOf("Pending.mbx"));
  EXPECT_EQ(pending->Get(item_member::kIsMailbox).AsInteger(), 1);
  EXPECT_EQ(pending->Get(item_member::kHidden).AsInteger(), 0);
  Store().SetHidden(*Store().FindByName("Pending"), true);
  EXPECT_EQ(pending->Get(item_member::kHidden).AsInteger(), 1);
}

TEST_F(AutomationServerTest, MessageIdsAreExactlyAsWrittenAndAnEmptyMailboxHasNone) {
  const std::string odd_id = "<http://example.com/a b?x=1&y=\"2\"@localhost.localdomain>";
  WriteFile(PathOf("News.mbx"), Raw("<first@localhost.localdomain>") + Raw(odd_id));
  WriteFile(PathOf("Empty.mbx"), "");
  const DispatchPtr application = Connect();
  EXPECT_EQ(CollectMessageIds(application, "News"),
            (std::vector<std::string>{odd_id, "<first@localhost.localdomain>"}));
  EXPECT_TRUE(CollectMessageIds(application, "Empty").empty());
}

TEST_F(AutomationServerTest, ReadsMessageProperties) {
  WriteFile(PathOf("News.mbx"), Raw("<m@x>", "Hello there"));
  const DispatchPtr application = Connect();
  const DispatchPtr news =
      application->Call(application_member::kItemByName, {"news", 1}).AsObject();
  const DispatchPtr messages = news->Get(item_member::kMessages).AsObject();
  const DispatchPtr message = messages->Get(message_collection_member::kItem, {1}).AsObject();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->Get(message_member::kBody).AsText(), "<x-html>body</x-html>");
  EXPECT_EQ(message->Get(message_member::kSubject).AsText(), "Hello there");
  EXPECT_EQ(message->Get(message_member::kText).AsText(),
            "Subject: Hello there\r\nMessage-Id: <m@x>\r\n\r\n<x-html>body</x-html>");
  EXPECT_GT(message->Get(message_member::kNumber).AsInteger(), 0);
  EXPECT_EQ(message->Get(message_member::kState).AsInteger(), 0);
  EXPECT_FALSE(messages->Invoke(message_collection_member::kItem, InvokeKind::kGet, {2}).ok);
  EXPECT_EQ(message->Invoke(99, InvokeKind::kGet, {}).error, kMemberNotFound);
  EXPECT_EQ(message->Invoke(message_member::kField, InvokeKind::kGet, {}).error,
            kBadParameterCount);
}

TEST_F(AutomationServerTest, MovesEveryStagedMessageAsThePlugInDoes) {
  WriteFile(PathOf("News.mbx"), Raw("<old@x>"));
  const DispatchPtr application = Connect();
  // The plug-in writes the staging file itself, then has the host open it.
  WriteFile(PathOf("Pending.mbx"), Raw("<a@x>") + Raw("<b@x>") + Raw("<c@x>"));
  const DispatchPtr pending =
      application->Call(application_member::kItemByName, {"Pending", 1}).AsObject();
  ASSERT_NE(pending, nullptr);
  ASSERT_TRUE(pending->Invoke(item_member::kOpen, InvokeKind::kCall, {}).ok);
  const int news_number = *Store().FindByName("News");
  const DispatchPtr target =
      application->Call(application_member::kItemByNumber, {news_number, 1}).AsObject();
  const DispatchPtr messages = pending->Get(item_member::kMessages).AsObject();
  for (int index = messages->Get(message_collection_member::kCount).AsInteger(); index >= 1;
       --index) {
    const DispatchPtr message = messages->Get(message_collection_member::kItem, {index}).AsObject();
    ASSERT_TRUE(message->Put(message_member::kState, 0));
    ASSERT_TRUE(message->Invoke(message_member::kMoveTo, InvokeKind::kCall, {target}).ok);
  }
  EXPECT_EQ(messages->Get(message_collection_member::kCount).AsInteger(), 0);
  EXPECT_EQ(CollectMessageIds(application, "News"),
            (std::vector<std::string>{"<a@x>", "<b@x>", "<c@x>", "<old@x>"}));
}

TEST_F(AutomationServerTest, ReleasingTheConnectionWritesThePendingRewrites) {
  WriteFile(PathOf("Pending.mbx"), Raw("<a@x>"));
  {
    const DispatchPtr application = Connect();
    const DispatchPtr pending =
        application->Call(application_member::kItemByName, {"Pending", 1}).AsObject();
    const DispatchPtr trash =
        application->Call(application_member::kItemByNumber, {kTrashMailboxNumber, 1}).AsObject();
    const DispatchPtr message =
        pending->Get(item_member::kMessages).AsObject()->Get(0, {1}).AsObject();
    ASSERT_TRUE(message->Invoke(message_member::kMoveTo, InvokeKind::kCall, {trash}).ok);
    EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), Raw("<a@x>"));
  }
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), "");
  EXPECT_EQ(ReadFile(PathOf("Trash.mbx")), Raw("<a@x>"));
}

TEST_F(AutomationServerTest, RefusesToMoveIntoAFolderOrSomethingElse) {
  WriteFile(PathOf("Pending.mbx"), Raw("<a@x>"));
  const int folder = *Store().CreateFolder(kTopLevel, "Feeds");
  const DispatchPtr application = Connect();
  const DispatchPtr pending =
      application->Call(application_member::kItemByName, {"Pending", 1}).AsObject();
  const DispatchPtr message =
      pending->Get(item_member::kMessages).AsObject()->Get(0, {1}).AsObject();
  const DispatchPtr feeds =
      application->Call(application_member::kItemByNumber, {folder, 1}).AsObject();
  for (const Variant& target : {Variant(feeds), Variant(message), Variant("Trash")}) {
    EXPECT_EQ(message->Invoke(message_member::kMoveTo, InvokeKind::kCall, {target}).error,
              kTypeMismatch);
  }
  EXPECT_EQ(Store().MessageCount(*Store().FindByName("Pending")), 1u);
}

TEST_F(AutomationServerTest, ShowsStatusTextAndComposesMessages) {
  const DispatchPtr application = Connect();
  EXPECT_TRUE(application->Put(application_member::kStatusText, "Tavi. For Help, press F1."));
  EXPECT_EQ(host_->StatusText(), "Tavi. For Help, press F1.");
  EXPECT_TRUE(application
                  ->Invoke(application_member::kNewMessage, InvokeKind::kCall,
                           {"", "A subject", "", "", "/tmp/article.nws", "The body"})
                  .ok);
  ASSERT_EQ(host_->ComposedMessages().size(), 1u);
  EXPECT_EQ(host_->ComposedMessages()[0].subject, "A subject");
  EXPECT_EQ(host_->ComposedMessages()[0].attachment, "/tmp/article.nws");
  EXPECT_EQ(host_->ComposedMessages()[0].body, "The body");
  EXPECT_EQ(Store().MessageCount(kOutMailboxNumber), 1u);
}

TEST_F(AutomationServerTest, AFrontEndHearsOfTheStatusTextSetThroughTheServer) {
  std::vector<HostChange> heard;
  host_->SetChangeListener([&heard](const HostChange& change) { heard.push_back(change); });
  EXPECT_TRUE(Connect()->Put(application_member::kStatusText, "Tavi. For Help, press F1."));
  EXPECT_EQ(heard, std::vector<HostChange>({{HostChangeKind::kStatusText, 0}}));
}

TEST_F(AutomationServerTest, ObjectsOutlivingTheHostFailCleanly) {
  const DispatchPtr application = Connect();
  host_.reset();
  const platform::InvokeResult result =
      application->Invoke(application_member::kTopLevel, InvokeKind::kGet, {});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, kServerUnavailable);
}

}  // namespace
}  // namespace tavi::host
