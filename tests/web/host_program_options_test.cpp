#include "web/host_program_options.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

TEST(HostProgramOptions, TakesEachOptionAndRefusesWhatMakesNoSense) {
  struct Case {
    const char* why;
    std::vector<std::string> arguments;
    bool runs;
    int exit_code;
  };
  const Case cases[] = {
      {"nothing", {}, true, 0},
      {"every option", {"--data", "/d", "--port", "8080", "--plugin", "/p/tavi.so"}, true, 0},
      {"the demo", {"--demo", "--port=65535"}, true, 0},
      {"help", {"--help"}, false, 0},
      {"the demo has its own data folder", {"--demo", "--data", "/d"}, false, 2},
      {"port 0", {"--port", "0"}, false, 2},
      {"port above 65535", {"--port", "65536"}, false, 2},
      {"port not a number", {"--port", "http"}, false, 2},
      {"an option without its value", {"--data"}, false, 2},
      {"an unknown option", {"--verbose"}, false, 2},
      {"a stray argument", {"serve"}, false, 2},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    const HostProgramArguments parsed = ParseHostProgramArguments(test.arguments);
    EXPECT_EQ(parsed.options.has_value(), test.runs) << parsed.message;
    EXPECT_EQ(parsed.exit_code, test.exit_code);
    if (!test.runs) {
      EXPECT_NE(parsed.message.find(test.exit_code == 0 ? "--demo" : "tavi-host: "),
                std::string::npos)
          << parsed.message;
    }
  }
}

TEST(HostProgramOptions, ReadsTheValuesGiven) {
  const HostProgramArguments parsed = ParseHostProgramArguments(
      {"--data", "/home/a/news", "--port", "8080", "--plugin", "/opt/tavi.so"});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->data_folder, "/home/a/news");
  EXPECT_EQ(parsed.options->port, 8080);
  EXPECT_EQ(parsed.options->plugin, "/opt/tavi.so");
  EXPECT_FALSE(parsed.options->demo);
  const HostProgramArguments defaults = ParseHostProgramArguments({"--demo"});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->data_folder, std::nullopt);
  EXPECT_EQ(defaults.options->port, 0);
  EXPECT_EQ(defaults.options->plugin, std::nullopt);
  EXPECT_TRUE(defaults.options->demo);
}

}  // namespace
}  // namespace tavi::web
