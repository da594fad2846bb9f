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

EmsMimeType* NewMimeType(const std::string& type, const std::string& subtype,
                         const std::string& version) {
  const std::size_t texts = type.size() + subtype.size() + version.size() + 3;
  auto* block = static_cast<char*>(std::malloc(sizeof(EmsMimeType) + texts));
  if (block == nullptr) return nullptr;
  auto* record = reinterpret_cast<EmsMimeType*>(block);
  char* next = block + sizeof(EmsMimeType);
  const auto place = [&next](const std::string& text) {
    std::memcpy(next, text.c_str(), text.size() + 1);
    const char* placed = next;
    next += text.size() + 1;
    return placed;
  };
  record->type = place(type);
  record->subtype = place(subtype);
  record->version = place(version);
  return record;
}

void FreeHostBlock(void* block) { std::free(block); }

}  // namespace tavi
