#include "startup/regfile_format.h"

#include <cstdio>
#include <cstring>

namespace tov {

const char kRegFileHeader[] = "REGEDIT4";

namespace {

void PutChars(RegOutput* out, const char* text, size_t length) {
  if (out->failed) return;
  for (size_t i = 0; i < length; ++i) {
    if (out->used == kRegOutputChunk && !FlushRegOutput(out)) return;
    out->buffer[out->used++] = text[i];
    out->column = text[i] == '\n' ? 0 : out->column + 1;
  }
}

void Put(RegOutput* out, const char* text) { PutChars(out, text, strlen(text)); }

void PutLineEnd(RegOutput* out) { Put(out, "\r\n"); }

// The text quoted, with '\' and '"' escaped.
void PutQuoted(RegOutput* out, const char* text, size_t length) {
  Put(out, "\"");
  for (size_t i = 0; i < length; ++i) {
    char c = text[i];
    if (c == '\\' || c == '"') PutChars(out, "\\", 1);
    PutChars(out, &c, 1);
  }
  Put(out, "\"");
}

// Bytes as "xx,xx,..."; a line that would reach the width is ended with
// "\" and continued on the next line after the indent.
void PutHexBytes(RegOutput* out, const unsigned char* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < size; ++i) {
    char piece[3] = {kDigits[data[i] >> 4], kDigits[data[i] & 15], ','};
    size_t pieceLength = i + 1 < size ? 3 : 2;
    // The piece and a following "\" must stay left of the width.
    if (out->column + pieceLength + 1 >= kRegLineWidth && out->column > kRegHexIndent) {
      Put(out, "\\\r\n");
      Put(out, "  ");
    }
    PutChars(out, piece, pieceLength);
  }
}

}  // namespace

const char* RegHiveName(RegHive hive) {
  switch (hive) {
    case kHiveClassesRoot: return "HKEY_CLASSES_ROOT";
    case kHiveCurrentUser: return "HKEY_CURRENT_USER";
    case kHiveUsers: return "HKEY_USERS";
    case kHiveCurrentConfig: return "HKEY_CURRENT_CONFIG";
    default: return "HKEY_LOCAL_MACHINE";
  }
}

void InitRegOutput(RegOutput* out, RegWriteFn write, void* context) {
  out->write = write;
  out->context = context;
  out->used = 0;
  out->column = 0;
  out->failed = false;
}

bool FlushRegOutput(RegOutput* out) {
  if (!out->failed && out->used > 0) {
    if (out->write == nullptr || !out->write(out->context, out->buffer, out->used))
      out->failed = true;
  }
  out->used = 0;
  return !out->failed;
}

void AppendRegHeader(RegOutput* out) {
  Put(out, kRegFileHeader);
  PutLineEnd(out);
  PutLineEnd(out);
}

void AppendRegBlankLine(RegOutput* out) { PutLineEnd(out); }

bool IsRegFileName(const char* name) {
  return name == nullptr || strpbrk(name, "\r\n") == nullptr;
}

bool AppendRegSection(RegOutput* out, const char* hiveName, const char* keyPath,
                      const char* subKey) {
  if (!IsRegFileName(hiveName) || !IsRegFileName(keyPath) || !IsRegFileName(subKey)) return false;
  Put(out, "[");
  Put(out, hiveName);
  if (keyPath && *keyPath) {
    Put(out, "\\");
    Put(out, keyPath);
  }
  if (subKey && *subKey) {
    Put(out, "\\");
    Put(out, subKey);
  }
  Put(out, "]");
  PutLineEnd(out);
  return true;
}

bool IsPlainRegString(const unsigned char* data, size_t size) {
  if (size > 0 && data[size - 1] == 0) --size;
  for (size_t i = 0; i < size; ++i)
    if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
  return true;
}

bool AppendRegValue(RegOutput* out, const char* name, unsigned long type,
                    const unsigned char* data, size_t size) {
  if (!IsRegFileName(name)) return false;
  if (name == nullptr || *name == 0) Put(out, "@");
  else PutQuoted(out, name, strlen(name));
  Put(out, "=");
  if (data == nullptr) size = 0;

  if (type == kRegSz && IsPlainRegString(data, size)) {
    if (size > 0 && data[size - 1] == 0) --size;
    PutQuoted(out, reinterpret_cast<const char*>(data), size);
  } else if (type == kRegDword && size == 4) {
    unsigned long number = (unsigned long)data[0] | (unsigned long)data[1] << 8 |
                           (unsigned long)data[2] << 16 | (unsigned long)data[3] << 24;
    char text[24];
    snprintf(text, sizeof text, "dword:%08lx", number);
    Put(out, text);
  } else {
    char prefix[24];
    if (type == kRegBinary) snprintf(prefix, sizeof prefix, "hex:");
    else snprintf(prefix, sizeof prefix, "hex(%lx):", type);
    Put(out, prefix);
    PutHexBytes(out, data, size);
  }
  PutLineEnd(out);
  return true;
}

}  // namespace tov
