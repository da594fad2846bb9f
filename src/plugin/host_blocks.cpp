#include "plugin/host_blocks.h"

#include <cstdlib>
#include <cstring>

namespace tavi {

// The C allocator, so that a block is a plain block whoever frees it.
char* NewHostText(const std::string& text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

EmsIconHandle* NewIconCell(EmsIconHandle icon) {
  auto* cell = static_cast<EmsIconHandle*>(std::malloc(sizeof(EmsIconHandle)));
  if (cell != nullptr) *cell = icon;
  return cell;
}

void FreeHostBlock(void* block) { std::free(block); }

}  // namespace tavi
