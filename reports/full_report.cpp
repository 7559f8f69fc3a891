// Stand-in until the report family lands: nothing is written.
#include "reports/full_report.h"

namespace tov {

void FullReport(HWND) {}

}  // namespace tov
