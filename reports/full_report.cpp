// Stand-in until the report family lands: nothing is written.
#include "reports/reports.h"

namespace tov {

void FullReport(HWND) {}

}  // namespace tov
