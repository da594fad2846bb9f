#pragma once

// Creating a mailbox the user named, in a folder of the host's tree or at
// its top level, such that it is a mailbox of its own: a name whose file the
// host already has would give back that mailbox, and a feed's articles would
// go into the user's own mail.

#include <string>

namespace tavi {

// Whether `name` may name a new mailbox in `folder_path` (the data folder
// for the top level, else a ".fol" folder): not empty, a valid file name
// (IsValidFileName), and no ".mbx" file in that folder is named by its
// file-name-safe form (MakeSafeFileName), letter case ignored, so that
// "work" and "Work " are refused beside Work.mbx.
bool IsFreeMailboxName(const std::string& folder_path, const std::string& name);

// Asks the host to create the mailbox `name` in `folder_path`: at the top
// level (CreateTopLevelMailbox) when `top_level`, else inside that folder
// (CreateMailboxInFolder). Returns the new mailbox's file; "" when the host
// created no file, or answered with a file that was in the folder before
// (an existing mailbox). A failed connection is reported in a message box.
std::string CreateNewMailbox(const std::string& name, const std::string& folder_path,
                             bool top_level);

}  // namespace tavi
