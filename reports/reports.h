// The full report of everything the program lists, as a web page or text.
#pragma once
#include <windows.h>

#include <cstddef>

#include "reports/report_format.h"

namespace tov {

// Builds the full report in the data folder and opens it with the shell,
// owned by owner. The report lists every family through the shared entry
// list, which is empty afterwards: the caller fills its page again.
void FullReport(HWND owner);

// The report file of a format: "<data folder>\TovrelLog.html" or
// "TovrelLog.txt". False when it does not fit.
bool ReportPath(ReportFormat format, char* out, size_t cap);
// Writes the report to path (replacing it). False when the file could not
// be created or a write failed.
bool WriteFullReport(const char* path, ReportFormat format);

}  // namespace tov
