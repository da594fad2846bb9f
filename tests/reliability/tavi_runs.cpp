#include "tavi_runs.h"

#include <gtest/gtest.h>

#include "host/mail_store.h"

namespace tavi::testing {
namespace {

constexpr std::size_t kLargeBodyBytes = 200 * 1024;
constexpr std::string_view kBodyEnd = "</x-html>";

std::string BodyOf(int index) {
  const std::string text = "Article " + std::to_string(index) + " says ";
  std::string body = text;
  const std::size_t size = index % 5 == 0 ? kLargeBodyBytes : 200;
  while (body.size() < size) body += "word" + std::to_string(body.size() % 97) + " ";
  return body;
}

}  // namespace

std::vector<std::string> TaviArguments(const std::string& data,
                                       const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {TAVI_COMMAND_PATH, "--data", data};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return all;
}

int RunTaviProgram(const std::string& data, const std::vector<std::string>& arguments,
                   std::string* output) {
  return RunProgram(TaviArguments(data, arguments), data + "/run", output);
}

std::map<std::string, std::string> FeedArticles(int count) {
  std::map<std::string, std::string> articles;
  for (int i = 1; i <= count; ++i)
    articles["<story-" + std::to_string(i) + "@localhost.localdomain>"] = BodyOf(i);
  return articles;
}

std::string FeedDocument(const std::map<std::string, std::string>& articles) {
  std::string items;
  for (const auto& [message_id, body] : articles) {
    const std::string guid = message_id.substr(1, message_id.find('@') - 1);
    items += "<item><title>" + guid + "</title><guid>" + guid + "</guid><description>" + body +
             "</description></item>\n";
  }
  return "<rss version=\"2.0\"><channel><title>Many</title>\n" + items + "</channel></rss>\n";
}

MailboxContents ReadBackMailbox(const std::string& data, const std::string& mailbox) {
  MailboxContents contents;
  const auto store = host::MailStore::Open(data);
  EXPECT_NE(store, nullptr);
  if (store == nullptr) return contents;
  const std::optional<int> number = store->FindByName(mailbox);
  if (!number) return contents;
  const std::size_t count = store->MessageCount(*number).value_or(0);
  for (std::size_t index = 0; index < count; ++index) {
    const host::MessagePtr message = store->MessageAt(*number, index);
    std::string body(message->Body());
    while (!body.empty() && (body.back() == '\r' || body.back() == '\n')) body.pop_back();
    const bool whole = body.starts_with("<x-html>") && body.ends_with(kBodyEnd);
    if (!whole) {
      ++contents.damaged;
      continue;
    }
    body = body.substr(8, body.size() - 8 - kBodyEnd.size());
    if (!contents.bodies.emplace(std::string(message->MessageId()), body).second)
      ++contents.duplicates;
  }
  return contents;
}

}  // namespace tavi::testing
