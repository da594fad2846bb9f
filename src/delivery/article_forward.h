#pragma once

// Forwarding an article through the host: the host opens a new outgoing
// message (application member 29) with the article in its body, or attached
// as a ".nws" file kept in the folder "Forwarded Articles" of the mail data
// folder.

#include <string>

namespace tavi {

// The folder of the data folder that keeps the files of forwarded articles.
inline constexpr const char* kForwardedArticlesFolder = "Forwarded Articles";

// The article's text as its commands use it: the header block followed by
// the body.
std::string ArticleText(const std::string& header_block, const std::string& body);

// `text` with every LF removed: the article files keep CR-only line breaks.
std::string WithoutLineFeeds(std::string text);

// Has the host open a new message titled subject + " (fwd)" whose body holds
// `text` between "--- begin forwarded article" and "--- end forwarded
// article". False, silently, when the host cannot be reached.
bool ForwardInline(const std::string& subject, const std::string& text);

// Writes `text` with LFs removed into a new file of "Forwarded Articles"
// (created when missing) named after the subject (MakeSafeFileName; "_1",
// "_2", ... when taken, extension "nws") and has the host open a new message
// titled subject + " (fwd)" with that file attached. Returns the file's
// path; "" when the host cannot be reached or the file could not be written,
// in which case nothing is forwarded (and no file made after a failed
// connection).
std::string ForwardAsAttachment(const std::string& data_folder, const std::string& subject,
                                const std::string& text);

}  // namespace tavi
