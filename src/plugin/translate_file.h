#pragma once

// ems_translate_file's work: the host's records read into a translator
// request, the keyboard read as the user left it, and the result's MIME type
// handed back.

#include <cstdint>

#include "plugin/ems_api.h"
#include "plugin/full_article_translator.h"
#include "plugin/plugin_paths.h"

namespace tavi {

// Finds the host's main window and document area again (stored in `paths`),
// reads Shift and then Ctrl from the asynchronous key state, and runs the
// translator on the part `in` with the output file of `out`. On
// kFullArticleWritten, `out`'s MIME type slot receives a new record
// "text"/"plain"/"1.0" for the host to hand back to ems_free. A missing `in`
// is a part without headers (kNoArticleLink); a missing `out` or output file
// name is an output that cannot be opened (kOutputNotWritable).
std::int32_t TranslateFile(PluginPaths& paths, const EmsDataFile* in, EmsDataFile* out,
                           const OpenViewerFunction& open_viewer);

}  // namespace tavi
