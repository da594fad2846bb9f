#include "ui/news_board_link.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/window_messages.h"

namespace tavi {
namespace {

TEST(NewsBoardLink, TellsTheNewsBoardWithItsRegisteredMessages) {
  std::vector<NewArticleNotice> notices;
  std::vector<std::pair<platform::WParam, platform::LParam>> report_updates;
  const WindowMessages& messages = RegisteredWindowMessages();
  const platform::WindowHandle news_board = platform::CreateWindow(
      {"NewsBoardWindow",
       "News Board",
       {},
       false,
       [&](platform::WindowHandle window, platform::MessageId message, platform::WParam wparam,
           platform::LParam lparam) -> platform::LResult {
         if (message == messages.new_article)
           notices.push_back(*reinterpret_cast<const NewArticleNotice*>(lparam));
         if (message == messages.update_blog_report) report_updates.emplace_back(wparam, lparam);
         return platform::DefWindowProc(window, message, wparam, lparam);
       }});
  const NewsBoardLink link(news_board);
  NewArticleNotice notice;
  notice.Newsbox = "News";
  link.AnnounceNewArticle(notice);
  // Handled before the call returned: the notice may change at once.
  notice.Newsbox = "changed";
  link.AnnounceDeliveryEnd();
  platform::PumpWaitingMessages();
  platform::DestroyWindow(news_board);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Newsbox, "News");
  EXPECT_EQ(report_updates, (std::vector<std::pair<platform::WParam, platform::LParam>>{{1, 1}}));
}

}  // namespace
}  // namespace tavi
