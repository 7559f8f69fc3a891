// The text values of one registry key read in one pass into a table sorted
// by name, for a run of lookups that would otherwise open the key once
// each. Answers as GetRegString would.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

struct TableValue;
struct ValueTable {
  TableValue** rows;  // sorted by name without case
  int count;
  int capacity;
  bool loaded;
};

// Reads every value of the key (none when it is missing); false when out of
// memory (the table is then empty and not loaded).
bool ReadValueTable(HKEY root, const char* path, ValueTable* table);
void FreeValueTable(ValueTable* table);
// 1 with the text as GetRegString gives it (its length may be 0), 0 when
// the value is not there, -1 when the table cannot answer (not loaded, or
// a name beyond plain ASCII, which the registry compares by its own case
// rules): ask the registry.
int LookupTableText(const ValueTable& table, const char* name, char* out, size_t cap);
// Puts a text value into the table as it was just written to the key.
void PutTableText(ValueTable* table, const char* name, const char* text);

}  // namespace tov
