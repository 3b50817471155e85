#include "engine/MacroTable.h"

#include <cstring>

#include "foundation/Memory.h"

namespace {

// Compaction waits until unused bytes are at least half of the text
// block, so its cost is paid for by the changes before it.
constexpr std::size_t kCompactAfterBytes = 64 * 1024;

}  // namespace

void CMacroTable::Clear() {
  m_text.Clear();
  m_index.Clear();
  m_nGarbage = 0;
  m_nDefined = 0;
  m_firstBytes.Clear();
  m_nLongest = 0;
}

void CMacroTable::FillInline(Slot& slot, const char* name, std::size_t nameLength,
                             const char* value, std::size_t valueLength) {
  slot.bytes[0] = static_cast<unsigned char>(nameLength);
  slot.bytes[1] = static_cast<unsigned char>(valueLength);
  // The name may already be where it goes (a slot given a new value).
  std::memmove(slot.bytes + 2, name, nameLength);
  if (valueLength) std::memcpy(slot.bytes + 2 + nameLength, value, valueLength);
  std::memset(slot.bytes + 2 + nameLength + valueLength, 0, kInlineText - nameLength - valueLength);
}

// Appends the name and the value; a failed append leaves the text as it was.
bool CMacroTable::AddRecord(const char* name, std::size_t nameLength, const char* value,
                            std::size_t valueLength, Record* record) {
  const std::size_t start = m_text.GetLength();
  // Offsets are 32-bit: the block never grows past 1 GiB anyway.
  if (nameLength + valueLength >= (std::size_t(1) << 31) - start) {
    Core::NoteAllocationFailure();
    return false;
  }
  if (!m_text.Reserve(start + nameLength + valueLength)) return false;
  m_text.Append(name, nameLength);
  m_text.Append(value, valueLength);
  *record = {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(nameLength),
             static_cast<std::uint32_t>(start + nameLength),
             static_cast<std::uint32_t>(valueLength)};
  return true;
}

// A new value for a defined name: in the slot when name and value fit
// there, else in m_text, after the name when the name was in the slot.
bool CMacroTable::Replace(Slot& slot, const char* value, std::size_t valueLength) {
  if (IsInline(slot)) {
    const std::size_t nameLength = slot.bytes[0];
    if (nameLength + valueLength <= kInlineText) {
      FillInline(slot, reinterpret_cast<const char*>(slot.bytes) + 2, nameLength, value,
                 valueLength);
      return true;
    }
    Record record;
    if (!AddRecord(reinterpret_cast<const char*>(slot.bytes) + 2, nameLength, value, valueLength,
                   &record)) {
      return false;
    }
    SetRecord(slot, record);
    return true;
  }
  Record record = RecordOf(slot);
  if (record.nameLength + valueLength <= kInlineText) {
    m_nGarbage += RecordSize(record);
    FillInline(slot, m_text.GetText() + record.name, record.nameLength, value, valueLength);
  } else if (valueLength <= record.valueLength) {
    if (valueLength) std::memmove(m_text.GetData() + record.value, value, valueLength);
    m_nGarbage += record.valueLength - valueLength;
    record.valueLength = static_cast<std::uint32_t>(valueLength);
    SetRecord(slot, record);
  } else {
    const std::size_t offset = m_text.GetLength();
    if (valueLength >= (std::size_t(1) << 31) - offset) {
      Core::NoteAllocationFailure();  // offsets are 32-bit
      return false;
    }
    if (!m_text.Reserve(offset + valueLength)) return false;
    m_text.Append(value, valueLength);
    m_nGarbage += record.valueLength;
    record.value = static_cast<std::uint32_t>(offset);
    record.valueLength = static_cast<std::uint32_t>(valueLength);
    SetRecord(slot, record);
  }
  CompactIfWorthIt();
  return true;
}

bool CMacroTable::Define(const char* name, std::size_t nameLength, const char* value,
                         std::size_t valueLength) {
  if (nameLength == 0) return false;
  const std::uint32_t hash = m_index.Hash(name, nameLength);
  if (Slot* found = Lookup(name, nameLength, hash)) return Replace(*found, value, valueLength);
  if (m_nDefined == UINT32_MAX) {
    Core::NoteAllocationFailure();  // tags are 32-bit: as full as a block past its cap
    return false;
  }
  const std::size_t textLength = m_text.GetLength();
  const bool fits = nameLength + valueLength <= kInlineText;
  Record record{};
  if (!fits && !AddRecord(name, nameLength, value, valueLength, &record)) return false;
  Slot* slot = m_index.Insert(hash, m_nDefined + 1);
  if (!slot) {
    m_text.Truncate(textLength);
    return false;
  }
  ++m_nDefined;
  if (fits) {
    FillInline(*slot, name, nameLength, value, valueLength);
  } else {
    SetRecord(*slot, record);
  }
  m_firstBytes.Add(static_cast<unsigned char>(name[0]));
  if (nameLength > m_nLongest) m_nLongest = nameLength;
  return true;
}

bool CMacroTable::Undefine(const char* name, std::size_t length) {
  if (m_index.GetCount() == 0 || length == 0) return false;
  const std::uint32_t hash = m_index.Hash(name, length);
  const Slot* slot = Lookup(name, length, hash);
  if (!slot) return false;
  if (!IsInline(*slot)) m_nGarbage += RecordSize(RecordOf(*slot));
  m_index.Erase(hash, [slot](const Slot& stored) { return &stored == slot; });
  CompactIfWorthIt();
  return true;
}

// Copies the live names and values into a new block and points their
// slots there; without memory for that the table stays as it is (and the
// failed allocation ends the item like any other).
void CMacroTable::CompactIfWorthIt() {
  if (m_nGarbage < kCompactAfterBytes || m_nGarbage * 2 < m_text.GetLength()) return;
  std::size_t size = 0;
  m_index.ForEach([&](const Slot& slot) {
    if (!IsInline(slot)) size += RecordSize(RecordOf(slot));
  });
  CTextBuffer compact;
  if (!compact.Reserve(size + 1)) return;
  m_index.ForEachSlot([&](Slot& slot) {
    if (IsInline(slot)) return;
    Record record = RecordOf(slot);
    const std::size_t start = compact.GetLength();
    compact.Append(m_text.GetText() + record.name, record.nameLength);
    compact.Append(m_text.GetText() + record.value, record.valueLength);
    record.name = static_cast<std::uint32_t>(start);
    record.value = static_cast<std::uint32_t>(start + record.nameLength);
    SetRecord(slot, record);
  });
  // The reservation covered every append, so none of them moved or failed.
  m_text.Swap(compact);
  m_nGarbage = 0;
}
