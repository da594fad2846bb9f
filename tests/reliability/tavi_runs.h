#pragma once

// What the reliability tests share: running the real tavi program on a data
// folder, a feed of many articles with large bodies, and reading a newsbox
// back through a fresh host as the next run would.

#include <map>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tavi::testing {

// The arguments that run the tavi program on `data` with `arguments`.
std::vector<std::string> TaviArguments(const std::string& data,
                                       const std::vector<std::string>& arguments);

// Runs the tavi program to its end; its exit code, its output in `output`.
int RunTaviProgram(const std::string& data, const std::vector<std::string>& arguments,
                   std::string* output = nullptr);

// The articles of the test feed: Message-Id to the body its message must
// carry. Every fifth article's body is about 200 KB, so that a kill often
// lands inside the write of one message.
std::map<std::string, std::string> FeedArticles(int count);

// The RSS document of those articles.
std::string FeedDocument(const std::map<std::string, std::string>& articles);

// What a fresh host finds in a mailbox of `data`: Message-Id to body. A
// message whose Message-Id was found before counts in `duplicates`; a
// message that is not whole (its body does not end its HTML) in `damaged`.
struct MailboxContents {
  std::map<std::string, std::string> bodies;
  int duplicates = 0;
  int damaged = 0;
};
MailboxContents ReadBackMailbox(const std::string& data, const std::string& mailbox);

}  // namespace tavi::testing
