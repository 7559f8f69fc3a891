// History lines: a line formatted from any fields reads back as the same
// fields (TAB, CR and LF written as blanks, the read limits applied), and
// any file text splits into no more events than it has lines.
#include "core/history_format.h"
#include "core/history_names.h"
#include "core/text.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tov;

namespace {

std::string Flattened(const std::string& field) {
  std::string s = field;
  for (char& c : s)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return s;
}

bool InTable(int code, int count, const HistoryName& (*row)(int)) {
  for (int i = 0; i < count; ++i)
    if (row(i).code == code) return true;
  return false;
}

void CheckRoundTrip(const unsigned char* data, size_t size) {
  if (size < 2) return;
  int type = HistoryTypeAt(data[0] % HistoryTypeCount()).code;
  int action = HistoryActionAt(data[1] % HistoryActionCount()).code;
  if (data[0] >= 250) type = 4242;  // not in the table
  std::string f[4];
  fuzz::Parts(data + 2, size - 2, f, 4);
  char line[kHistoryLineCapacity];
  size_t length = FormatHistoryLine(f[0].c_str(), type, action, f[1].c_str(), f[2].c_str(),
                                    f[3].c_str(), line, sizeof line);
  FUZZ_CHECK(length == strlen(line));
  FUZZ_CHECK(length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n');
  // One event, never split or merged.
  FUZZ_CHECK(memchr(line, '\n', length - 1) == nullptr);
  HistoryRecord r;
  FUZZ_CHECK(ParseHistoryLine(line, length - 1, &r));
  size_t whole = f[0].size() + f[1].size() + f[2].size() + f[3].size() +
                 strlen(HistoryActionName(action)) + strlen(HistoryTypeName(type)) + 7;
  if (whole > kHistoryLineCapacity - 1) return;  // the line was cut
  FUZZ_CHECK(r.fieldCount == 6);
  FUZZ_CHECK(r.action == action);
  FUZZ_CHECK(r.type == (InTable(type, HistoryTypeCount(), HistoryTypeAt) ? type : kHistoryTypeUnknown));
  std::string date = Flattened(f[0]), title = Flattened(f[1]);
  std::string command = Flattened(f[2]), source = Flattened(f[3]);
  FUZZ_CHECK(r.date == (date.size() < kHistoryDateCapacity ? date : std::string()));
  FUZZ_CHECK(r.title == (title.size() < kHistoryTitleCapacity ? title : std::string()));
  FUZZ_CHECK(r.command == command.substr(0, kHistoryFieldCapacity - 1));
  FUZZ_CHECK(r.source == source.substr(0, kHistoryFieldCapacity - 1));
}

void CountEvent(const HistoryRecord& record, void* context) {
  FUZZ_CHECK(strlen(record.title) < kHistoryTitleCapacity);
  FUZZ_CHECK(strlen(record.command) < kHistoryFieldCapacity);
  ++*static_cast<int*>(context);
}

void CheckFileText(const unsigned char* data, size_t size) {
  int events = 0;
  int passed = ParseHistoryText(reinterpret_cast<const char*>(data), size, false, CountEvent, &events);
  FUZZ_CHECK(passed == events);
  int lines = 1;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  FUZZ_CHECK(events <= lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  CheckRoundTrip(data, size);
  CheckFileText(data, size);
  return 0;
}
