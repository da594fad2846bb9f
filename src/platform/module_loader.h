#pragma once

// Loading a library at run time and finding its exports, over the dynamic
// loader. A module stays loaded until every LoadModule of it has been matched
// by a FreeModule.

#include <string>

namespace tavi::platform {

// An opaque handle of a loaded module; null is "no module".
using ModuleHandle = void*;

// Loads the library at `path` with all its symbols resolved now and kept to
// itself. Null when it cannot be loaded; `error_text`, when given, then
// receives the loader's reason.
ModuleHandle LoadModule(const std::string& path, std::string* error_text = nullptr);

// The address of the export `name`, or null when the module has none (or the
// module is null).
void* FindModuleExport(ModuleHandle module, const std::string& name);

// The export as a function of type `Function` (a function pointer type), or
// null when absent. The caller vouches for the type.
template <typename Function>
Function FindModuleFunction(ModuleHandle module, const std::string& name) {
  return reinterpret_cast<Function>(FindModuleExport(module, name));
}

// Releases one load of the module; a null module is ignored. False when the
// loader refused.
bool FreeModule(ModuleHandle module);

}  // namespace tavi::platform
