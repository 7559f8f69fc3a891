// The delayed-start store: programs taken out of normal startup so the
// resident monitor starts them later.
#pragma once

namespace tov {

// Moves the startup entry at entryIndex of the entry list into the
// delayed-start store. True when it was moved.
bool MoveToDelayedStart(int entryIndex);

}  // namespace tov
