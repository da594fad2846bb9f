#pragma once

// What the benchmarks that time a command as a program share: running a
// program and waiting for it, the tavi command's own untimed steps done
// in-process, the timed loop over a fresh folder (the command's first or
// second run, and a check of what it delivered), and a console reporter that
// ends with how many times faster Tavi was than its peer. Each benchmark
// keeps its own feeds, servers and peer configuration.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavi::bench {

// How a program run ended.
struct ProcessResult {
  int exit_code = -1;       // -1: it could not start, or a signal ended it
  long peak_kilobytes = 0;  // 0 when not measured
};

// Runs `arguments` (the program's path first) with its output discarded and
// waits for it. Its exit code; -1 when it could not be started or did not exit
// by itself.
int RunProgram(const std::vector<std::string>& arguments);

// Runs `arguments` as RunProgram does, measuring the program's peak resident
// memory with the time program when it is installed (its report is written
// into `folder`). peak_kilobytes is 0 when the time program is not there.
ProcessResult RunMeasuredProgram(std::vector<std::string> arguments, const std::string& folder);

// Sets up a tavi data folder at `data` in-process, outside the timing: `init`,
// then each of `commands` in turn (each a whole argument list, such as
// {"add", alias, url, "--newsbox", newsbox}). Output is discarded. False at
// the first command that does not exit 0.
bool SetUpTavi(const std::string& data, const std::vector<std::vector<std::string>>& commands);

// How many articles the newsbox named `newsbox` of the data folder `data`
// holds; 0 when its file is missing or unreadable.
std::size_t TaviDelivered(const std::string& data, const std::string& newsbox);

// True when the program at `path` can be run. Otherwise the benchmark stops
// with `missing` as its error, so a peer that is not installed is reported
// rather than timed.
bool ProgramInstalled(benchmark::State& state, const char* path, const char* missing);

// One benchmark of a command run as a program. Each iteration prepares a
// fresh folder with timing paused, times one run of the command on it, then,
// paused again, checks the run: it must have exited 0 and, where articles are
// counted, delivered between fewest_articles and most_articles of them.
struct TimedCommand {
  // Fills the folder: subscriptions, or a peer's configuration. False when it
  // could not.
  std::function<bool(const std::string& folder)> prepare = nullptr;
  // The command itself, run on the prepared folder.
  std::function<ProcessResult(const std::string& folder)> run = nullptr;
  // True: the command runs once more, untimed, after `prepare`, so the timed
  // run is a second run and finds what the first delivered.
  bool second_run = false;
  // How many articles the folder holds after the run; empty where a run's
  // articles are not counted (then only its exit code is checked).
  std::function<std::size_t(const std::string& folder)> count_delivered = nullptr;
  std::size_t fewest_articles = 0;
  std::size_t most_articles = SIZE_MAX;
  // True: the largest peak memory of the timed runs is reported.
  bool report_peak = false;
  // The error the benchmark stops with at the first run that fails its check.
  std::string failure = "";
};

// Runs `command`'s iterations in `state`. Sets the counters "articles" (the
// last count, where counted) and "peak_rss_MB" (where report_peak says so).
void TimeCommand(benchmark::State& state, const TimedCommand& command);

// Prints each run as the console does and, at the end, for each pair of a
// Tavi benchmark and its peer's, how many times faster Tavi was:
// "Tavi vs newsboat, first run (all new): 812 ms vs 2034 ms, 2.50 times faster".
// A pair either side of which did not run, or stopped with an error, prints
// nothing.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // One line of the end: what the pair measures and the function names of
  // its two benchmarks.
  struct Ratio {
    std::string what;  // "first run (all new)"
    std::string ours;  // "BM_TaviFirstRun"
    std::string peer;  // "BM_NewsboatFirstRun"
  };
  // How many decimals the times and the ratio are printed with.
  struct Decimals {
    int time = 0;
    int ratio = 0;
  };

  RatioReporter(std::string peer_name, std::vector<Ratio> ratios, Decimals decimals);

  void ReportRuns(const std::vector<Run>& runs) override;
  // Prints the ratios, then PrintNotes, then what the console prints last.
  void Finalize() override;

 protected:
  // The real time of the named benchmark's run, in its own unit; none when it
  // did not run or stopped with an error.
  std::optional<double> TimeOf(const std::string& function_name) const;

  // Further lines of a benchmark's own after the ratios; none by default.
  virtual void PrintNotes() {}

 private:
  void PrintRatio(const Ratio& ratio) const;

  std::string peer_name_;
  std::vector<Ratio> ratios_;
  Decimals decimals_;
  std::map<std::string, double> times_;
};

}  // namespace tavi::bench
