// The one place that knows every family: the sheet's page list and what the
// families register with the shared code at start.
#pragma once

namespace tov {

// Hands the sheet its pages and registers the families' history restore
// handlers. Called once at start, before any window opens.
void RegisterFamilies();

}  // namespace tov
