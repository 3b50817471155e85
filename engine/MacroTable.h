// CMacroTable: the definitions of one item, in the order of their first
// #define. Each definition is one record in a single text block (its name
// with the value right after it), and a name index beside them finds the
// record: a lookup touches an index slot and a record, nothing else, and
// defining a name costs no allocation of its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/Array.h"
#include "engine/Dictionary.h"
#include "engine/NameIndex.h"
#include "engine/TextBuffer.h"

class CMacroTable {
 public:
  struct Value {
    const char* text;  // valid until the table next changes
    std::size_t length;
  };

  CMacroTable() = default;
  CMacroTable(const CMacroTable&) = delete;
  CMacroTable& operator=(const CMacroTable&) = delete;

  void Clear();
  bool IsEmpty() const { return m_index.GetCount() == 0; }
  int GetCount() const { return static_cast<int>(m_index.GetCount()); }

  // A first test that most words of a text fail, cheaper than a lookup:
  // false when no name defined since Clear has this first byte and length.
  bool MayHold(const char* name, std::size_t length) const {
    return length != 0 && length <= m_nLongest && m_bFirstByte[static_cast<unsigned char>(name[0])];
  }

  // The value of the entry whose name equals the bytes exactly; false when
  // there is none.
  bool Find(const char* name, std::size_t length, Value* value) const;
  bool IsDefined(const char* name) const;

  // Adds the name, or replaces the value of an existing entry in place.
  // False when memory ran out (the table is then unchanged).
  bool Define(const char* name, std::size_t nameLength, const char* value, std::size_t valueLength);
  // Removes the name; false when it was not defined.
  bool Undefine(const char* name, std::size_t length);

  // The live entries in definition order (for inspection).
  Core::CArray<CDictionary> GetEntries() const;

 private:
  // In m_text, followed by the name and, until a longer value replaces it,
  // the value. Records start at multiples of its alignment.
  struct Record {
    std::uint32_t nameLength;
    std::uint32_t valueLength;
    std::uint32_t value;    // offset of the value in m_text
    std::uint32_t removed;  // non-zero once the name is undefined
  };

  const Record& RecordAt(std::uint32_t offset) const {
    return *reinterpret_cast<const Record*>(m_text.GetText() + offset);
  }
  Record& RecordAt(std::uint32_t offset) {
    return *reinterpret_cast<Record*>(m_text.GetData() + offset);
  }
  int Lookup(const char* name, std::size_t length, std::uint32_t hash) const;
  bool AddRecord(const char* name, std::size_t nameLength, const char* value,
                 std::size_t valueLength, std::uint32_t* offset);
  bool AppendBytes(const char* bytes, std::size_t length);
  void CompactIfWorthIt();

  int GetRecordCount() const { return static_cast<int>(m_order.GetLength() / 4); }
  std::uint32_t OrderAt(int i) const;

  CTextBuffer m_text;
  CTextBuffer m_order;         // 32-bit record offsets in definition order
  CNameIndex m_index;          // name -> record offset
  int m_nRemoved = 0;          // removed records still in m_order
  std::size_t m_nGarbage = 0;  // bytes of m_text no live record uses
  bool m_bFirstByte[256] = {};
  std::size_t m_nLongest = 0;
};
