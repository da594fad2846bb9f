#pragma once

// File-name and path helpers: turning display names into file names, testing
// for files and folders, and small whole-file operations. None of them raises
// an error or shows a message; each reports failure through its result.

#include <string>

namespace tavi {

// True when a search for `path` finds at least one entry. The last component
// may hold the wild cards '*' and '?' ("folder/*.rss" is present when any file
// matches). A path shorter than 4 characters is absent without looking.
bool FileExists(const std::string& path);

// True when `path` names a folder. A path shorter than 3 characters, or one
// whose attributes cannot be read, is not a folder.
bool IsDirectory(const std::string& path);

// A display name turned into a file-name stem: letters and digits are kept
// (every byte of 0x80 and above counts as a letter, so UTF-8 names survive),
// the characters \ / : * ? ! " ' < > | are dropped, everything else is kept;
// trailing white space is removed and the result is cut to 250 characters.
// Never empty: a name with nothing left becomes "No Name".
std::string MakeSafeFileName(const std::string& name);

// Whether a name typed by the user can name a file: 1 to 255 characters, none
// of \ / : * ? ! " < > |. (An apostrophe is accepted.)
bool IsValidFileName(const std::string& name);

// The full path of the running program (the host that loaded the plug-in),
// or "-1" when it cannot be read.
std::string GetHostExecutablePath();

// folder/stem.extension with stem = MakeSafeFileName(name). Trailing
// separators of the folder are removed. With `make_unique`, an existing file
// makes the stem take the suffixes _1, _2, ... until the path is free. Unless
// `skip_create`, the folder is created (one level) when missing and the file
// is created empty (truncated when it exists).
std::string PrepareFilePath(const std::string& folder, const std::string& name,
                            const std::string& extension, bool make_unique, bool skip_create);

// Creates the file empty when absent. True when the file exists afterwards.
bool EnsureFileExists(const std::string& path);

// Truncates an existing file to zero length and returns true; returns false
// and creates nothing when the file is absent.
bool TruncateFile(const std::string& path);

// Appends `text` and CR LF to the file, creating it when absent. An empty
// text writes nothing and returns true. False when the file cannot be
// created or opened.
bool AppendLineToFile(const std::string& path, const std::string& text);

// The file's content up to its first zero byte; "" when the file is absent or
// cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace tavi
