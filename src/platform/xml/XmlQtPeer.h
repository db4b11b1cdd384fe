#pragma once
// Benchmark-only peer of the XML layer: the same table written with Qt's stream writer
// (indented by two blanks, no declaration, replacing the file through Qt's atomic save file).
// Linked by the benchmarks only; the program itself never uses it.
#include <vector>

#include "plat/String.h"

namespace plat::bench {

struct TPeerTable {
    const char16_t* Name;  // table element
    int Rows;
};

// Root element, one comment after it, then per table `Rows` row elements carrying the
// attributes in order with Values[(row * attribute count) + attribute], cycling through Values.
bool QtWriteRuleTable(const String& FileName, const char16_t* Root, const String& Comment,
                      const std::vector<TPeerTable>& Tables, const std::vector<const char16_t*>& Attributes,
                      const std::vector<String>& Values);

} // namespace plat::bench
