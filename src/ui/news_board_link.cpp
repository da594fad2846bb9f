#include "ui/news_board_link.h"

#include "ui/window_messages.h"

namespace tavi {

void NewsBoardLink::AnnounceNewArticle(const NewArticleNotice& notice) const {
  if (!Present()) return;
  platform::SendNotifyMessage(news_board_, RegisteredWindowMessages().new_article, 0,
                              reinterpret_cast<platform::LParam>(&notice));
}

void NewsBoardLink::AnnounceDeliveryEnd() const {
  if (!Present()) return;
  platform::SendNotifyMessage(news_board_, RegisteredWindowMessages().update_blog_report, 1, 1);
}

void NewsBoardLink::BringForward() const {
  if (Present()) platform::BringWindowToTop(news_board_);
}

}  // namespace tavi
