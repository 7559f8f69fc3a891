// The .reg writer: values written by it and read back by a small REGEDIT4
// reader keep their names, types and bytes; a name the format cannot hold
// (a line break) is refused and adds no line, so no crafted name can set a
// value nobody backed up.
#include <vector>

#include "startup/regfile_format.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tov;

namespace {

struct Value {
  std::string name;
  unsigned long type;
  std::string bytes;
};

bool Collect(void* context, const char* text, size_t length) {
  static_cast<std::string*>(context)->append(text, length);
  return true;
}

// Lines ended by CR LF, with hex lines ending in "\" joined to the next.
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  size_t start = 0;
  for (size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2) {
    std::string line = text.substr(start, p - start);
    if (!current.empty()) line.erase(0, line.find_first_not_of(' '));
    current += line;
    if (!current.empty() && current.back() == '\\' && current.find("=hex") != std::string::npos &&
        current.find("=hex") < current.size()) {
      current.pop_back();
      continue;
    }
    lines.push_back(current);
    current.clear();
  }
  FUZZ_CHECK(start == text.size());
  FUZZ_CHECK(current.empty());
  return lines;
}

// A quoted string starting at text[*at] ('"'); unescapes \\ and \".
bool ReadQuoted(const std::string& text, size_t* at, std::string* out) {
  if (*at >= text.size() || text[*at] != '"') return false;
  out->clear();
  for (size_t i = *at + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\') {
      if (++i >= text.size()) return false;
      *out += text[i];
    } else if (c == '"') {
      *at = i + 1;
      return true;
    } else {
      *out += c;
    }
  }
  return false;
}

bool ReadHex(const std::string& text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size();) {
    if (i + 2 > text.size()) return false;
    out->push_back(char(std::stoi(text.substr(i, 2), nullptr, 16)));
    i += 2;
    if (i < text.size()) {
      if (text[i] != ',') return false;
      ++i;
    }
  }
  return true;
}

// One value line back into a value.
bool ReadValueLine(const std::string& line, Value* v) {
  size_t at = 0;
  if (line.compare(0, 2, "@=") == 0) {
    v->name.clear();
    at = 1;
  } else if (!ReadQuoted(line, &at, &v->name) || line.compare(at, 1, "=") != 0) {
    return false;
  }
  ++at;
  std::string data = line.substr(at);
  if (!data.empty() && data[0] == '"') {
    size_t q = 0;
    std::string text;
    if (!ReadQuoted(data, &q, &text) || q != data.size()) return false;
    v->type = kRegSz;
    v->bytes = text + '\0';
    return true;
  }
  if (data.compare(0, 6, "dword:") == 0) {
    if (data.size() != 14) return false;
    unsigned long n = std::stoul(data.substr(6), nullptr, 16);
    v->type = kRegDword;
    v->bytes = std::string{char(n & 255), char(n >> 8 & 255), char(n >> 16 & 255), char(n >> 24 & 255)};
    return true;
  }
  if (data.compare(0, 4, "hex:") == 0) {
    v->type = kRegBinary;
    return ReadHex(data.substr(4), &v->bytes);
  }
  if (data.compare(0, 4, "hex(") == 0) {
    size_t close = data.find("):");
    if (close == std::string::npos) return false;
    v->type = std::stoul(data.substr(4, close - 4), nullptr, 16);
    return ReadHex(data.substr(close + 2), &v->bytes);
  }
  return false;
}

// What the registry holds after importing a value: REG_SZ written as a
// string gets its terminator back.
std::string Imported(const Value& v) {
  if (v.type == kRegSz && IsPlainRegString(reinterpret_cast<const unsigned char*>(v.bytes.data()),
                                           v.bytes.size())) {
    std::string s = v.bytes;
    if (!s.empty() && s.back() == '\0') s.pop_back();
    return s + '\0';
  }
  return v.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  // Up to four values: each a name, a type byte and data, split at zero
  // bytes (data bytes are hex-escaped by the writer, so zeros in names are
  // all this loses).
  std::string parts[9];
  fuzz::Parts(data, size, parts, 9);
  std::vector<Value> values;
  for (int i = 0; i + 2 < 9; i += 3) {
    static const unsigned long kTypes[] = {kRegSz, kRegExpandSz, kRegBinary, kRegDword, kRegMultiSz, 11};
    unsigned long type = kTypes[(parts[i + 1].empty() ? 0 : (unsigned char)parts[i + 1][0]) % 6];
    values.push_back({parts[i], type, parts[i + 2]});
  }
  std::string text;
  RegOutput out;
  InitRegOutput(&out, Collect, &text);
  AppendRegHeader(&out);
  bool sectionWritten = AppendRegSection(&out, "HKEY_CURRENT_USER", "Software\\Test", parts[0].c_str());
  FUZZ_CHECK(sectionWritten == IsRegFileName(parts[0].c_str()));
  std::vector<Value> accepted;
  for (const Value& v : values) {
    bool written = AppendRegValue(&out, v.name.c_str(), v.type,
                                  reinterpret_cast<const unsigned char*>(v.bytes.data()), v.bytes.size());
    FUZZ_CHECK(written == IsRegFileName(v.name.c_str()));
    if (written) accepted.push_back(v);
  }
  FUZZ_CHECK(FlushRegOutput(&out));

  std::vector<std::string> lines = LogicalLines(text);
  FUZZ_CHECK(lines.size() >= 2 && lines[0] == kRegFileHeader && lines[1].empty());
  size_t next = 2;
  if (sectionWritten) {
    FUZZ_CHECK(lines[next] == "[HKEY_CURRENT_USER\\Software\\Test" +
                                  (parts[0].empty() ? std::string() : "\\" + parts[0]) + "]");
    ++next;
  }
  // Exactly one line per accepted value, each read back whole.
  FUZZ_CHECK(lines.size() - next == accepted.size());
  for (const Value& v : accepted) {
    Value back;
    FUZZ_CHECK(ReadValueLine(lines[next++], &back));
    FUZZ_CHECK(back.name == v.name);
    FUZZ_CHECK(back.type == v.type);
    FUZZ_CHECK(back.bytes == Imported(v));
  }
  return 0;
}
