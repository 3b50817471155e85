// CMacroTable: the definitions of one item. Each name has a slot in a
// name index; a definition whose name and value fit in the slot lives
// there whole, so that looking it up reads one slot and nothing else. A
// longer one has its name and value in a single text block, with nothing
// else between them, and its slot says where. Defining a name costs no
// allocation of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/Array.h"
#include "engine/CodeWindow.h"
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
  // Whether the slots are past what the processor's caches hold, so that
  // finding a name's slot is mostly a wait for memory.
  bool IsLarge() const { return m_index.GetBytes() > kLargeBytes; }

  // A first test that most words of a text fail, cheaper than a lookup:
  // false when no name defined since Clear has this first byte and length.
  bool MayHold(const char* name, std::size_t length) const {
    return length != 0 && length <= m_nLongest &&
           m_firstBytes.Has(static_cast<unsigned char>(name[0]));
  }
  // The first bytes of the names defined since Clear.
  const FirstByteSet& FirstBytes() const { return m_firstBytes; }

  // The value of the entry whose name equals the bytes exactly; false when
  // there is none.
  bool Find(const char* name, std::size_t length, Value* value) const {
    return MayHold(name, length) && Find(name, length, Hash(name, length), value);
  }
  // The same with the name's Hash, worked out earlier, and Prefetch'ed.
  bool Find(const char* name, std::size_t length, std::uint32_t hash, Value* value) const {
    const Slot* slot = Lookup(name, length, hash);
    if (!slot) return false;
    *value = ValueOf(*slot);
    return true;
  }
  // Looking up several names at once: their hashes first, each slot
  // prefetched, then the lookups, which then seldom wait for memory.
  std::uint32_t Hash(const char* name, std::size_t length) const {
    return m_index.Hash(name, length);
  }
  void Prefetch(std::uint32_t hash) const { m_index.Prefetch(hash); }

  // Adds the name, or replaces the value of an existing entry in place.
  // False when memory ran out (the table is then unchanged).
  bool Define(const char* name, std::size_t nameLength, const char* value, std::size_t valueLength);
  // Removes the name; false when it was not defined.
  bool Undefine(const char* name, std::size_t length);

 private:
  using Slot = CNameIndex::Slot;

  static constexpr std::size_t kLargeBytes = std::size_t(8) << 20;

  // A slot's bytes: the name's length, the value's length, then the name
  // and the value; or, for a definition too long for that, 0 and then
  // where its name and its value are in m_text and their lengths.
  static constexpr std::size_t kInlineText = CNameIndex::kSlotBytes - 2;
  struct Record {
    std::uint32_t name;  // offsets in m_text
    std::uint32_t nameLength;
    std::uint32_t value;
    std::uint32_t valueLength;
  };
  static constexpr std::size_t kRecordField = 4;
  static_assert(kRecordField + sizeof(Record) <= CNameIndex::kSlotBytes, "a record fits a slot");

  static bool IsInline(const Slot& slot) { return slot.bytes[0] != 0; }
  static Record RecordOf(const Slot& slot) {
    Record record;
    std::memcpy(&record, slot.bytes + kRecordField, sizeof record);
    return record;
  }
  static void SetRecord(Slot& slot, const Record& record) {
    std::memset(slot.bytes, 0, sizeof slot.bytes);
    std::memcpy(slot.bytes + kRecordField, &record, sizeof record);
  }

  // Equal bytes, 1 to kInlineText of them, read a word at a time without
  // passing either end.
  static bool SameShort(const unsigned char* a, const char* b, std::size_t n) {
    if (n >= 8) {
      if (Load64(a) != Load64(b)) return false;
      if (n > 16 && Load64(a + 8) != Load64(b + 8)) return false;
      return Load64(a + n - 8) == Load64(b + n - 8);
    }
    if (n >= 4) return Load32(a) == Load32(b) && Load32(a + n - 4) == Load32(b + n - 4);
    return a[0] == static_cast<unsigned char>(b[0]) &&
           a[n >> 1] == static_cast<unsigned char>(b[n >> 1]) &&
           a[n - 1] == static_cast<unsigned char>(b[n - 1]);
  }
  template <class P>
  static std::uint64_t Load64(const P* p) {
    std::uint64_t value;
    std::memcpy(&value, p, 8);
    return value;
  }
  template <class P>
  static std::uint32_t Load32(const P* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
  }

  bool Holds(const Slot& slot, const char* name, std::size_t length) const {
    if (IsInline(slot)) return slot.bytes[0] == length && SameShort(slot.bytes + 2, name, length);
    const Record record = RecordOf(slot);
    return record.nameLength == length &&
           std::memcmp(m_text.GetText() + record.name, name, length) == 0;
  }
  Slot* Lookup(const char* name, std::size_t length, std::uint32_t hash) const {
    return m_index.Find(hash, [&](const Slot& slot) { return Holds(slot, name, length); });
  }
  Value ValueOf(const Slot& slot) const {
    if (IsInline(slot)) {
      return {reinterpret_cast<const char*>(slot.bytes) + 2 + slot.bytes[0], slot.bytes[1]};
    }
    const Record record = RecordOf(slot);
    return {m_text.GetText() + record.value, record.valueLength};
  }
  static void FillInline(Slot& slot, const char* name, std::size_t nameLength, const char* value,
                         std::size_t valueLength);
  bool Replace(Slot& slot, const char* value, std::size_t valueLength);
  bool AddRecord(const char* name, std::size_t nameLength, const char* value,
                 std::size_t valueLength, Record* record);
  static std::size_t RecordSize(const Record& record) {
    return std::size_t(record.nameLength) + record.valueLength;
  }
  void CompactIfWorthIt();

  CNameIndex m_index;            // name -> slot
  CTextBuffer m_text;            // the names and values of definitions too long for a slot
  std::size_t m_nGarbage = 0;    // bytes of m_text no live definition uses
  std::uint32_t m_nDefined = 0;  // definitions made since Clear: each new name's tag
  FirstByteSet m_firstBytes{};
  std::size_t m_nLongest = 0;
};
