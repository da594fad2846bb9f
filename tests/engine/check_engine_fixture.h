#pragma once

// What the check engine's tests share: a window that records what a run
// shows, the feeds they serve, and a host with a newsbox and a loopback
// server to fetch from.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "delivery/host_automation.h"
#include "engine/check_engine.h"
#include "host/host.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/pacing.h"
#include "store/profile.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {

class RecordingWindow : public CheckWindow {
 public:
  void SetGeneralLine(const std::string& text) override { general_lines.push_back(text); }
  void SetInfoLine(const std::string& text) override { info_lines.push_back(text); }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void PumpMessages() override { platform::PumpWaitingMessages(); }
  void TakeFocus() override {}
  bool HasNewsBoard() const override { return has_news_board; }
  void AnnounceNewArticle(const NewArticleNotice& notice) override { notices.push_back(notice); }
  void AnnounceDeliveryEnd() override { ++deliveries_ended; }
  void BringNewsBoardForward() override { ++brought_forward; }

  std::vector<std::string> general_lines;
  std::vector<std::string> info_lines;
  std::vector<int> progress;
  bool has_news_board = false;
  std::vector<NewArticleNotice> notices;
  int deliveries_ended = 0;
  int brought_forward = 0;
};

// A window whose Stop another thread presses.
class StoppableWindow : public RecordingWindow {
 public:
  void PumpMessages() override {
    ++pumps;
    RecordingWindow::PumpMessages();
  }
  bool StopRequested() const override { return stop; }

  std::atomic<bool> stop{false};
  int pumps = 0;
};

inline std::string RssItem(const std::string& guid, const std::string& date) {
  return "<item><title>Story " + guid + "</title><link>http://example.com/" + guid +
         "</link><description>Body of " + guid + "</description><guid>" + guid +
         "</guid><pubDate>" + date + "</pubDate></item>";
}

inline std::string RssFeed(const std::string& items) {
  return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily</title>" + items +
         "</channel></rss>";
}

class CheckEngineTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::None());
    platform::CreateFolder(data_.Join("plugins"));
    HostTest::SetUp();
    paths_ = {data_.Join("plugins/tavi.ini"), data_.path(), data_.Join("In.mbx"),
              data_.Join("plugins"), host_->Windows().DocumentArea()};
    feed_.Alias = "News";
    feed_.Name = "Daily";
    feed_.URL = server_.Url("/feed.xml");
    feed_.Newsbox = "News";
    feed_.NewsboxPath = CreateTopLevelMailbox("News");
    ASSERT_FALSE(feed_.NewsboxPath.empty());
  }

  int Check(CheckRun& run) { return run.CheckFeed(feed_, false, FeedFile()); }
  std::string FeedFile() const { return data_.Join("plugins/feed.xml"); }

  std::vector<std::string> Messages(const std::string& mailbox) {
    const auto number = host_->Store().FindByName(mailbox);
    if (!number) return {};
    host_->Store().ReadMailboxAgain(*number);
    return host_->Store().RawMessages(*number);
  }

  std::string LastArticle() { return ReadLastArticle("News", paths_.settings_file); }

  testing::PinnedUtcClock clock_{testing::UtcInstant(2026, 12, 12, 12)};
  testing::RecordingSleeper sleeper_;
  testing::LoopbackServer server_;
  CheckPaths paths_;
  FeedRecord feed_;
  RecordingWindow window_;
};

}  // namespace tavi
