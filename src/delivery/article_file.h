#pragma once

// Saving an article into a file of the user's choosing (".nws", ".eml", or
// any other): the header block and the body with CR-only line breaks, and a
// final CR LF.

#include <string>

namespace tavi {

// Writes ArticleText(header_block, body) with every LF removed, and CR LF,
// as the whole content of the file `path`: the bytes go to a temporary file
// in the same folder, which then takes the target's place, so a failed write
// leaves the old file as it was. False when the file could not be written.
bool SaveArticleFile(const std::string& path, const std::string& header_block,
                     const std::string& body);

}  // namespace tavi
