#include "core/value_table.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "core/owned.h"
#include "core/registry.h"

namespace tov {

struct TableValue {
  DWORD type;
  DWORD size;
  char* data;  // size bytes
  char name[1];
};

namespace {

constexpr DWORD kTableNameBytes = 1024;

int UpperAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

int CompareNames(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int d = UpperAscii(static_cast<unsigned char>(*a)) - UpperAscii(static_cast<unsigned char>(*b));
    if (d != 0 || *a == 0) return d;
  }
}

bool PlainAscii(const char* text) {
  for (; *text; ++text)
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  return true;
}

TableValue* MakeRow(const char* name, DWORD type, const void* data, DWORD size) {
  size_t nameLength = strlen(name);
  TableValue* row = static_cast<TableValue*>(malloc(sizeof(TableValue) + nameLength + size + 1));
  if (!row) return nullptr;
  row->type = type;
  row->size = size;
  memcpy(row->name, name, nameLength + 1);
  row->data = row->name + nameLength + 1;
  memcpy(row->data, data, size);
  return row;
}

int CompareRows(const void* a, const void* b) {
  return CompareNames((*static_cast<TableValue* const*>(a))->name,
                      (*static_cast<TableValue* const*>(b))->name);
}

// The position of name, or where it would go (found says which).
int Position(const ValueTable& table, const char* name, bool* found) {
  int low = 0, high = table.count;
  while (low < high) {
    int middle = (low + high) / 2;
    int c = CompareNames(table.rows[middle]->name, name);
    if (c == 0) {
      *found = true;
      return middle;
    }
    if (c < 0) low = middle + 1;
    else high = middle;
  }
  *found = false;
  return low;
}

bool Grow(ValueTable* table) {
  if (table->count < table->capacity) return true;
  int capacity = table->capacity ? table->capacity * 2 : 64;
  void* rows = realloc(table->rows, sizeof(TableValue*) * size_t(capacity));
  if (!rows) return false;
  table->rows = static_cast<TableValue**>(rows);
  table->capacity = capacity;
  return true;
}

}  // namespace

void FreeValueTable(ValueTable* table) {
  for (int i = 0; i < table->count; ++i) free(table->rows[i]);
  free(table->rows);
  *table = ValueTable{};
}

bool ReadValueTable(HKEY root, const char* path, ValueTable* table) {
  FreeValueTable(table);
  RegKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
    char name[kTableNameBytes];
    char data[kRegQueryBytes];
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = sizeof name, size = sizeof data, type = 0;
      LONG r = RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type,
                             reinterpret_cast<BYTE*>(data), &size);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS) continue;  // too long: GetRegString does not read it either
      name[nameLength < sizeof name ? nameLength : sizeof name - 1] = 0;
      TableValue* row = Grow(table) ? MakeRow(name, type, data, size) : nullptr;
      if (!row) {
        FreeValueTable(table);
        return false;
      }
      table->rows[table->count++] = row;
    }
  }
  qsort(table->rows, size_t(table->count), sizeof(TableValue*), CompareRows);
  table->loaded = true;
  return true;
}

int LookupTableText(const ValueTable& table, const char* name, char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  if (!table.loaded || !name || !PlainAscii(name)) return -1;
  bool found = false;
  int at = Position(table, name, &found);
  if (!found) return 0;
  const TableValue* row = table.rows[at];
  char data[kRegQueryBytes + 1];
  DWORD size = row->size < kRegQueryBytes ? row->size : DWORD(kRegQueryBytes);
  memcpy(data, row->data, size);
  RegTextOf(row->type, data, size, out, cap);
  return 1;
}

void PutTableText(ValueTable* table, const char* name, const char* text) {
  if (!table->loaded || !name) return;
  DWORD size = DWORD(strlen(text) + 1);
  if (size > kRegQueryBytes) return;
  bool found = false;
  int at = Position(*table, name, &found);
  TableValue* row = MakeRow(name, REG_SZ, text, size);
  if (!row) {
    table->loaded = false;  // the registry answers from now on
    return;
  }
  if (found) {
    free(table->rows[at]);
    table->rows[at] = row;
    return;
  }
  if (!Grow(table)) {
    free(row);
    table->loaded = false;
    return;
  }
  memmove(table->rows + at + 1, table->rows + at, sizeof(TableValue*) * size_t(table->count - at));
  table->rows[at] = row;
  ++table->count;
}

}  // namespace tov
