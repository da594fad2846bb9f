#include "delivery/article_file.h"

#include "delivery/article_forward.h"
#include "platform/fs.h"

namespace tavi {

bool SaveArticleFile(const std::string& path, const std::string& header_block,
                     const std::string& body) {
  return platform::ReplaceFile(path, WithoutLineFeeds(ArticleText(header_block, body)) + "\r\n");
}

}  // namespace tavi
