#pragma once

// Running another program to its end, as a person would from a shell: its
// output goes where tavi-host's goes, and it runs with no signal blocked
// (tavi-host blocks its stop signals; the program must still stop at Ctrl+C).

#include <string>
#include <vector>

namespace tavi::web {

// Runs `program` with `arguments` and waits for it. Its exit code; -1 when
// it could not be started or did not exit by itself (a signal ended it).
int RunChildProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tavi::web
