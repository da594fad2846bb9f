#include "cli/demo_command.h"

#include <ostream>

#include "cli/command_line.h"
#include "web/demo_feeds.h"
#include "web/feed_server.h"
#include "web/temporary_folder.h"

namespace tavi::cli {
namespace {

using web::DemoFeed;
using web::DemoFeeds;
using web::FeedServer;
using web::TemporaryFolder;
using Arguments = std::vector<std::string>;

std::string Shown(const std::string& argument) {
  if (argument.find_first_of(" \"'") == std::string::npos && !argument.empty()) return argument;
  return "\"" + argument + "\"";
}

// The demo's commands in order.
std::vector<Arguments> DemoSteps(const FeedServer& server) {
  std::vector<Arguments> steps = {{"init"}};
  for (const DemoFeed& feed : DemoFeeds())
    steps.push_back(web::DemoAddArguments(feed, server.Url(std::string(feed.path))));
  steps.push_back({"feeds"});
  steps.push_back({"download"});
  steps.push_back({"mailboxes"});
  steps.push_back({"show", std::string(DemoFeeds().front().alias)});
  steps.push_back({"show", "Science"});
  steps.push_back({"download"});
  return steps;
}

// Runs one step on the demo's folder, showing its command line first.
bool RunStep(const Arguments& step, const std::string& folder, const CommandContext& context) {
  context.out << "\n$ tavi";
  for (const std::string& argument : step) context.out << " " << Shown(argument);
  context.out << "\n";
  Arguments arguments = {"--data", folder};
  arguments.insert(arguments.end(), step.begin(), step.end());
  return RunCommandLine(arguments, context.out, context.err, context.environment) == kExitSuccess;
}

}  // namespace

int RunDemo(const CommandContext& context) {
  const TemporaryFolder folder("tavi-demo-");
  if (folder.Path().empty()) {
    context.err << "tavi: demo: cannot make a temporary folder\n";
    return kExitFailure;
  }
  FeedServer server;
  for (const DemoFeed& feed : DemoFeeds())
    server.Serve(std::string(feed.path), std::string(feed.document));
  if (!server.Start()) {
    context.err << "tavi: demo: cannot listen on 127.0.0.1\n";
    return kExitFailure;
  }
  context.out << "Tavi demo: " << DemoFeeds().size() << " sample feeds served at "
              << server.Url("/") << ", data folder " << folder.Path() << " (removed at the end).\n";
  for (const Arguments& step : DemoSteps(server)) {
    if (!RunStep(step, folder.Path(), context)) {
      context.err << "tavi: demo: the step \"" << step.front() << "\" failed\n";
      return kExitFailure;
    }
  }
  context.out << "\nThe demo is complete.\n";
  return kExitSuccess;
}

}  // namespace tavi::cli
