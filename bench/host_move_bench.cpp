// Delivering a batch into a large newsbox, as the plug-in does it: 10,000
// messages staged in "Pending" moved one at a time through the automation
// server into a newsbox that already holds 100,000. The peer is the floor
// for the same work: appending those messages' bytes to the newsbox file
// with stdio and rewriting the staging file empty.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/host.h"
#include "platform/automation.h"

namespace {

using tavi::platform::DispatchPtr;
using tavi::platform::InvokeKind;
namespace host = tavi::host;

constexpr int kNewsboxMessages = 100000;
constexpr int kStagedMessages = 10000;

std::string Message(const std::string& kind, int index) {
  const std::string id = kind + std::to_string(index);
  return "From ???@??? Sun Dec 6 2026 13:46:41\r\n"
         "Subject: Article " +
         id +
         " about something worth reading\r\n"
         "From: A Feed\r\n"
         "Date: Sun, 06 Dec 2026 13:46:41 GMT\r\n"
         "Website: http://example.com/articles/" +
         id +
         "\r\n"
         "Message-Id: <http://example.com/articles/" +
         id +
         "@localhost.localdomain>\r\n"
         "Downloaded: 12/06/2026 13:46:41\r\n"
         "Feed: A Feed\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: text/html\r\n"
         "Content-Transfer-Encoding: 8bit\r\n"
         "\r\n"
         "<x-html><p>The text of the article, long enough to look like a summary of one. "
         "From here on it goes on a little longer.</p></x-html>\r\n";
}

std::string Mailbox(const std::string& kind, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += Message(kind, i);
  return bytes;
}

// A data folder holding the newsbox and the staging mailbox, removed after.
class DataFolder {
 public:
  DataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "host-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
  }
  ~DataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // Puts the newsbox and the staging mailbox back as they were at the start.
  void Reset(const std::string& newsbox, const std::string& staged) const {
    std::error_code ignored;
    for (const char* stale : {"News.toc", "Pending.toc"}) {
      std::filesystem::remove(path_ + "/" + stale, ignored);
    }
    std::ofstream(path_ + "/News.mbx", std::ios::binary | std::ios::trunc) << newsbox;
    std::ofstream(path_ + "/Pending.mbx", std::ios::binary | std::ios::trunc) << staged;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The plug-in's delivery: open "Pending", then for each message from the
// last to the first: get it, set its state to 0, move it to the newsbox.
void DeliverPending(int newsbox_number) {
  DispatchPtr application =
      tavi::platform::CreateAutomationObject(host::kAutomationProgramId).value.AsObject();
  const DispatchPtr pending =
      application->Call(host::application_member::kItemByName, {"Pending", 1}).AsObject();
  pending->Call(host::item_member::kOpen);
  const DispatchPtr target =
      application->Call(host::application_member::kItemByNumber, {newsbox_number, 1}).AsObject();
  const DispatchPtr messages = pending->Get(host::item_member::kMessages).AsObject();
  for (int index = messages->Get(host::message_collection_member::kCount).AsInteger(); index >= 1;
       --index) {
    const DispatchPtr message =
        messages->Get(host::message_collection_member::kItem, {index}).AsObject();
    message->Put(host::message_member::kState, 0);
    message->Invoke(host::message_member::kMoveTo, InvokeKind::kCall, {target});
  }
}

void BM_MoveThroughAutomation(benchmark::State& state) {
  const std::string newsbox = Mailbox("n", kNewsboxMessages);
  const std::string staged = Mailbox("p", kStagedMessages);
  const DataFolder folder;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Reset(newsbox, staged);
    auto the_host = host::Host::Start(folder.path());
    const int newsbox_number = *the_host->Store().FindByName("News");
    state.ResumeTiming();
    // The connection is released inside: the batch's rewrites are timed too.
    DeliverPending(newsbox_number);
    state.PauseTiming();
    if (the_host->Store().MessageCount(newsbox_number) != kNewsboxMessages + kStagedMessages) {
      state.SkipWithError("not every message arrived");
    }
    the_host.reset();
    state.ResumeTiming();
  }
  state.counters["moves_per_second"] =
      benchmark::Counter(kStagedMessages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MoveThroughAutomation)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_PeerAppendWithStdio(benchmark::State& state) {
  const std::string newsbox = Mailbox("n", kNewsboxMessages);
  const std::string staged = Mailbox("p", kStagedMessages);
  const DataFolder folder;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Reset(newsbox, staged);
    state.ResumeTiming();
    std::FILE* target = std::fopen((folder.path() + "/News.mbx").c_str(), "ab");
    for (int i = kStagedMessages - 1; i >= 0; --i) {
      const std::string message = Message("p", i);
      std::fwrite(message.data(), 1, message.size(), target);
      std::fflush(target);
    }
    std::fclose(target);
    std::fclose(std::fopen((folder.path() + "/Pending.mbx").c_str(), "wb"));
  }
  state.counters["moves_per_second"] =
      benchmark::Counter(kStagedMessages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PeerAppendWithStdio)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
