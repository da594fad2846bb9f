#include "cli/full_article_command.h"

#include <ostream>
#include <string_view>

#include "cli/command_syntax.h"
#include "cli/mailbox_commands.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "platform/fs.h"
#include "plugin/full_article_text.h"
#include "plugin/full_article_translator.h"

namespace tavi::cli {
namespace {

constexpr std::string_view kHeaderBlockEnd = "\r\n\r\n";

// The header lines as the host hands them to the translator: without the
// empty line that ends them.
std::string RawHeadersOf(std::string_view text) {
  return std::string(text.substr(0, text.find(kHeaderBlockEnd)));
}

host::MessagePtr NumberedMessage(host::MailStore& store, int mailbox,
                                 const CommandContext& context) {
  const std::size_t count = store.MessageCount(mailbox).value_or(0);
  // The parser let only a number from 1 through.
  const std::size_t number = ReadWholeNumber(context.command.positionals[1]).value_or(0);
  if (number >= 1 && number <= count) return store.MessageAt(mailbox, number - 1);
  context.err << "tavi: full-article: " << PrintableText(store.Item(mailbox)->name) << " has "
              << count << (count == 1 ? " message" : " messages") << "; there is no message "
              << number << "\n";
  return nullptr;
}

}  // namespace

int RunFullArticle(const CommandContext& context) {
  // The page goes through the temporary file a check run uses too.
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  host::MailStore& store = session->Host().Store();
  const std::optional<int> mailbox = FindNamedMailbox(store, context);
  if (!mailbox) return kExitFailure;
  const host::MessagePtr message = NumberedMessage(store, *mailbox, context);
  if (message == nullptr) return kExitFailure;
  const std::string header_text = HeaderTextOf(RawHeadersOf(message->Text()));
  const std::string link = ArticleLinkOf(header_text);
  if (link.empty()) {
    context.err << "tavi: full-article: the message has no Website line\n";
    return kExitFailure;
  }
  const std::string temporary_file =
      platform::JoinPath(session->Paths().ConfigDir, kFullArticleFileName);
  const FullArticlePage page = FetchFullArticlePage(link, temporary_file);
  if (!page.ok) {
    context.err << "tavi: full-article: " << PrintableText(link)
                << " cannot be fetched: " << PrintableText(page.error) << "\n";
    return kExitFailure;
  }
  const bool as_text = context.command.Has("--text");
  context.out << PrintableLines(FullArticleText(header_text, page.text, as_text)) << "\n";
  return kExitSuccess;
}

}  // namespace tavi::cli
