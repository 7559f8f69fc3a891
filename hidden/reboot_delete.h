// Files deleted when Windows restarts, before it is fully loaded.
#pragma once

namespace tov {

// Asks Windows to delete the file at the next restart. True when the
// request was made.
bool DeleteFileOnReboot(const char* path);

}  // namespace tov
