#include "bench/command_bench_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "cli/command_line.h"
#include "web/temporary_folder.h"

extern char** environ;

namespace tavi::bench {
namespace {

constexpr const char* kTimeProgram = "/usr/bin/time";
constexpr const char* kFolderPrefix = "tavi-bench-";
// The line that starts each message of a newsbox file.
constexpr const char* kMessageSeparator = "From ???@??? ";

bool Tavi(const std::string& data, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--data", data});
  std::ostringstream ignored;
  return cli::RunCommandLine(arguments, ignored, ignored) == 0;
}

std::size_t CountOccurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// The untimed steps before the timed run; a second run's first run must
// succeed too.
bool Prepare(const TimedCommand& command, const std::string& folder) {
  return command.prepare(folder) && (!command.second_run || command.run(folder).exit_code == 0);
}

bool DeliveredInFull(const TimedCommand& command, std::size_t delivered) {
  if (!command.count_delivered) return true;
  return delivered >= command.fewest_articles && delivered <= command.most_articles;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int exit_code = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) exit_code = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  return exit_code;
}

// The bench's own process is large (it holds the documents it serves), and a
// child it starts directly inherits its high-water mark; a child of the small
// time program does not.
ProcessResult RunMeasuredProgram(std::vector<std::string> arguments, const std::string& folder) {
  if (access(kTimeProgram, X_OK) != 0) return {RunProgram(arguments), 0};
  const std::string report = folder + "/peak.txt";
  arguments.insert(arguments.begin(), {kTimeProgram, "-f", "%M", "-o", report});
  ProcessResult result{RunProgram(arguments), 0};
  std::ifstream(report) >> result.peak_kilobytes;
  return result;
}

bool SetUpTavi(const std::string& data, const std::vector<std::vector<std::string>>& commands) {
  if (!Tavi(data, {"init"})) return false;
  return std::all_of(
      commands.begin(), commands.end(),
      [&data](const std::vector<std::string>& command) { return Tavi(data, command); });
}

std::size_t TaviDelivered(const std::string& data, const std::string& newsbox) {
  std::ifstream file(data + "/" + newsbox + ".mbx", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return CountOccurrences(bytes, kMessageSeparator);
}

bool ProgramInstalled(benchmark::State& state, const char* path, const char* missing) {
  if (access(path, X_OK) == 0) return true;
  state.SkipWithError(missing);
  return false;
}

// The folder is made with timing paused and removed at the end of the
// iteration.
void TimeCommand(benchmark::State& state, const TimedCommand& command) {
  std::size_t delivered = 0;
  long peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const web::TemporaryFolder folder(kFolderPrefix);
    const bool ready = Prepare(command, folder.Path());
    state.ResumeTiming();
    const ProcessResult result = command.run(folder.Path());
    state.PauseTiming();
    if (command.count_delivered) delivered = command.count_delivered(folder.Path());
    peak = std::max(peak, result.peak_kilobytes);
    if (!ready || result.exit_code != 0 || !DeliveredInFull(command, delivered)) {
      state.SkipWithError(command.failure.c_str());
      break;
    }
    state.ResumeTiming();
  }
  if (command.count_delivered) state.counters["articles"] = static_cast<double>(delivered);
  if (command.report_peak) state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
}

RatioReporter::RatioReporter(std::string peer_name, std::vector<Ratio> ratios, Decimals decimals)
    : peer_name_(std::move(peer_name)), ratios_(std::move(ratios)), decimals_(decimals) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (!run.error_occurred) times_[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
  for (const Ratio& ratio : ratios_) PrintRatio(ratio);
  PrintNotes();
  ConsoleReporter::Finalize();
}

std::optional<double> RatioReporter::TimeOf(const std::string& function_name) const {
  const auto found = times_.find(function_name);
  if (found == times_.end()) return std::nullopt;
  return found->second;
}

void RatioReporter::PrintRatio(const Ratio& ratio) const {
  const std::optional<double> ours = TimeOf(ratio.ours);
  const std::optional<double> peer = TimeOf(ratio.peer);
  if (!ours || !peer || *ours <= 0) return;
  std::printf("Tavi vs %s, %s: %.*f ms vs %.*f ms, %.*f times faster\n", peer_name_.c_str(),
              ratio.what.c_str(), decimals_.time, *ours, decimals_.time, *peer, decimals_.ratio,
              *peer / *ours);
}

}  // namespace tavi::bench
