// CLookahead: runs ahead of the scanner over the text still pending and
// starts loading the index slot, and then the record, that the lookups of
// its words will touch. With many definitions those lookups would each wait
// for memory in turn; this way they find what they need in the cache. It
// changes no result: a word it guesses wrongly (in a string, a comment or
// a skipped branch) only costs a wasted load.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MacroTable.h"

class CLookahead {
 public:
  // Below this many definitions the table stays in the cache by itself and
  // running ahead would only cost time.
  static constexpr int kWorthFrom = 16384;

  // Forgets the words ahead (a new item).
  void Reset() {
    m_pNext = m_pEnd = nullptr;
    m_nCount = 0;
  }

  // One step, taken as the scanner looks up one word; the pending text is
  // the bytes from `begin` to `end`, lines ended by LF.
  void Step(const CMacroTable& table, const char* begin, const char* end);

 private:
  static constexpr unsigned kDepth = 16;  // words whose slot is loading or loaded
  static constexpr unsigned kLag = 8;     // of those, the nearest have their record loading

  bool NextWord(const CMacroTable& table, std::uint32_t* hash);

  const char* m_pNext = nullptr;
  const char* m_pEnd = nullptr;
  std::uint32_t m_aHashes[kDepth] = {};
  unsigned m_nFirst = 0;
  unsigned m_nCount = 0;
};
