#pragma once

// Blocks the plug-in allocates and hands to the host in its records: texts
// and icon cells. The host gives each back through ems_free, which calls
// FreeHostBlock; nothing else may free them.

#include <string>

#include "plugin/ems_api.h"

namespace tavi {

// A newly allocated NUL-terminated copy of `text`; null when memory runs out.
char* NewHostText(const std::string& text);

// A newly allocated cell holding `icon`; null when memory runs out.
EmsIconHandle* NewIconCell(EmsIconHandle icon);

// A newly allocated MIME type record with its texts in the same block, so
// that one ems_free gives back all of it; null when memory runs out.
EmsMimeType* NewMimeType(const std::string& type, const std::string& subtype,
                         const std::string& version);

// Frees a block made by the functions above; null is ignored.
void FreeHostBlock(void* block);

}  // namespace tavi
