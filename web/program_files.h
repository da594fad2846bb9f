#pragma once

// The files tavi-host runs with besides itself, the plug-in module
// (tavi.so) and the tavi command: beside the program, as they are
// installed, else where the build puts them.

#include <string>

namespace tavi::web {

// The file `name` in the folder of `program`, when it is there; else the
// file at `build_path` (relative to that folder), when it is there; else "".
std::string FindProgramFile(const std::string& program, const std::string& name,
                            const std::string& build_path);

}  // namespace tavi::web
