#pragma once

// Makes the windows' pictures known to whoever draws them: registers every
// icon image and cursor of the program's resources with the window system's
// module resources, as the plug-in module does when it is loaded.

namespace tavi {

void RegisterWindowResources();

}  // namespace tavi
