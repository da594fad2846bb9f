#pragma once

// A module's version block: named texts ("ProductName", "ProductVersion")
// that the build embeds in the module file and that are read back from the
// file without loading it.
//
// The block lives in its own ELF section, kVersionSectionName, as a sequence
// of NUL-terminated texts taken in pairs, key then value; an empty key (as in
// padding) ends the block.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavi::platform {

inline constexpr const char* kVersionSectionName = ".tavi_version";

// Put on the definition of the block's character array so that it lands in
// the version section and survives even though nothing refers to it.
#define TAVI_VERSION_BLOCK_SECTION __attribute__((section(".tavi_version"), used))

// A version section larger than this is refused as not a version block.
inline constexpr std::size_t kMaxVersionBlockSize = 64 * 1024;

struct ModuleVersionBlock {
  std::vector<std::pair<std::string, std::string>> strings;

  // The value of the first entry named `key` (exact case); nullopt if none.
  std::optional<std::string> Find(std::string_view key) const;
};

// The version block of the module file at `module_file`. Nullopt when the
// file cannot be read, is not an ELF file of this machine's byte order, has
// no version section, or when any header, name or the section itself lies
// outside the file, is too large, or is not a well-formed block.
std::optional<ModuleVersionBlock> ReadModuleVersionBlock(const std::string& module_file);

}  // namespace tavi::platform
