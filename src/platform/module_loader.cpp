#include "platform/module_loader.h"

#include <dlfcn.h>

namespace tavi::platform {

ModuleHandle LoadModule(const std::string& path, std::string* error_text) {
  // RTLD_LOCAL: a plug-in's symbols must not satisfy anyone else's look-ups,
  // as a library's exports on the system are reached only through its handle.
  ModuleHandle module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr && error_text != nullptr) {
    const char* reason = dlerror();
    *error_text = reason != nullptr ? reason : "the module cannot be loaded";
  }
  return module;
}

void* FindModuleExport(ModuleHandle module, const std::string& name) {
  if (module == nullptr) return nullptr;
  return dlsym(module, name.c_str());
}

bool FreeModule(ModuleHandle module) {
  if (module == nullptr) return true;
  return dlclose(module) == 0;
}

}  // namespace tavi::platform
