#include "web/demo_setup.h"

#include <vector>

#include "web/child_program.h"
#include "web/demo_feeds.h"

namespace tavi::web {
namespace {

using Arguments = std::vector<std::string>;

std::vector<Arguments> DemoSteps(const FeedServer& server) {
  std::vector<Arguments> steps = {{"init"}};
  for (const DemoFeed& feed : DemoFeeds())
    steps.push_back(DemoAddArguments(feed, server.Url(std::string(feed.path))));
  steps.push_back({"download"});
  return steps;
}

}  // namespace

std::unique_ptr<DemoSetup> DemoSetup::Prepare(const std::string& tavi_command, const GoOn& go_on,
                                              std::ostream& out, std::string& error) {
  std::unique_ptr<DemoSetup> demo(new DemoSetup());
  if (demo->DataFolder().empty()) {
    error = "cannot make a temporary folder";
    return nullptr;
  }
  for (const DemoFeed& feed : DemoFeeds())
    demo->server_.Serve(std::string(feed.path), std::string(feed.document));
  if (!demo->server_.Start()) {
    error = "cannot serve the sample feeds on 127.0.0.1";
    return nullptr;
  }
  for (const Arguments& step : DemoSteps(demo->server_)) {
    if (!go_on()) {
      error = "stopped";
      return nullptr;
    }
    out << "$ tavi " << step.front() << (step.size() > 1 ? " " + step[1] : "") << std::endl;
    Arguments arguments = {"--data", demo->DataFolder()};
    arguments.insert(arguments.end(), step.begin(), step.end());
    if (RunChildProgram(tavi_command, arguments) != 0) {
      error = "the step \"tavi " + step.front() + "\" failed";
      return nullptr;
    }
  }
  return demo;
}

}  // namespace tavi::web
