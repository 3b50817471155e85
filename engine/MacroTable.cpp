#include "engine/MacroTable.h"

#include <cstring>

namespace {

// Compaction waits until removed entries and unused bytes are at least
// half of all, so its cost is paid for by the changes before it.
constexpr int kCompactAfterRemovals = 32;
constexpr std::size_t kCompactAfterBytes = 64 * 1024;
constexpr std::size_t kAlign = 8;

}  // namespace

void CMacroTable::Clear() {
  m_text.Clear();
  m_text.ResetFailure();
  m_order.Clear();
  m_order.ResetFailure();
  m_index.Clear();
  m_nRemoved = 0;
  m_nGarbage = 0;
  std::memset(m_bFirstByte, 0, sizeof m_bFirstByte);
  m_nLongest = 0;
}

std::uint32_t CMacroTable::OrderAt(int i) const {
  std::uint32_t offset;
  std::memcpy(&offset, m_order.GetText() + 4 * static_cast<std::size_t>(i), 4);
  return offset;
}

int CMacroTable::Lookup(const char* name, std::size_t length, std::uint32_t hash) const {
  return m_index.Find(hash, [&](int offset) {
    const Record& record = RecordAt(static_cast<std::uint32_t>(offset));
    return record.nameLength == length &&
           std::memcmp(reinterpret_cast<const char*>(&record + 1), name, length) == 0;
  });
}

bool CMacroTable::Find(const char* name, std::size_t length, Value* value) const {
  if (!MayHold(name, length)) return false;
  const int offset = Lookup(name, length, m_index.Hash(name, length));
  if (offset < 0) return false;
  const Record& record = RecordAt(static_cast<std::uint32_t>(offset));
  value->text = m_text.GetText() + record.value;
  value->length = record.valueLength;
  return true;
}

bool CMacroTable::IsDefined(const char* name) const {
  Value value;
  return Find(name, std::strlen(name), &value);
}

// Appends the bytes; a failed append leaves the text as it was.
bool CMacroTable::AppendBytes(const char* bytes, std::size_t length) {
  m_text.Append(bytes, length);
  if (!m_text.Failed()) return true;
  m_text.ResetFailure();
  return false;
}

bool CMacroTable::AddRecord(const char* name, std::size_t nameLength, const char* value,
                            std::size_t valueLength, std::uint32_t* offset) {
  const std::size_t start = (m_text.GetLength() + kAlign - 1) & ~(kAlign - 1);
  const std::size_t end = start + sizeof(Record) + nameLength + valueLength;
  // Offsets are 32-bit: the block never grows past 1 GiB anyway.
  if (nameLength > UINT32_MAX || valueLength > UINT32_MAX || end >= (std::size_t(1) << 31)) {
    return false;
  }
  m_text.Reserve(end + kAlign);
  if (m_text.Failed()) {
    m_text.ResetFailure();
    return false;
  }
  const Record record = {static_cast<std::uint32_t>(nameLength),
                         static_cast<std::uint32_t>(valueLength),
                         static_cast<std::uint32_t>(start + sizeof(Record) + nameLength), 0};
  static const char kPadding[kAlign] = {};
  m_text.Append(kPadding, start - m_text.GetLength());
  m_text.Append(reinterpret_cast<const char*>(&record), sizeof record);
  m_text.Append(name, nameLength);
  m_text.Append(value, valueLength);
  *offset = static_cast<std::uint32_t>(start);
  return true;
}

bool CMacroTable::Define(const char* name, std::size_t nameLength, const char* value,
                         std::size_t valueLength) {
  if (nameLength == 0) return false;
  const std::uint32_t hash = m_index.Hash(name, nameLength);
  const int found = Lookup(name, nameLength, hash);
  if (found >= 0) {
    Record& record = RecordAt(static_cast<std::uint32_t>(found));
    if (valueLength <= record.valueLength) {
      if (valueLength) std::memmove(m_text.GetData() + record.value, value, valueLength);
      m_nGarbage += record.valueLength - valueLength;
    } else {
      const std::size_t offset = m_text.GetLength();
      if (valueLength > UINT32_MAX || offset + valueLength >= (std::size_t(1) << 31) ||
          !AppendBytes(value, valueLength)) {
        return false;
      }
      Record& moved = RecordAt(static_cast<std::uint32_t>(found));  // the block may have moved
      m_nGarbage += moved.valueLength;
      moved.value = static_cast<std::uint32_t>(offset);
    }
    RecordAt(static_cast<std::uint32_t>(found)).valueLength =
        static_cast<std::uint32_t>(valueLength);
    CompactIfWorthIt();
    return true;
  }
  const std::size_t length = m_text.GetLength();
  std::uint32_t offset;
  if (!AddRecord(name, nameLength, value, valueLength, &offset)) return false;
  const std::size_t orderLength = m_order.GetLength();
  m_order.Append(reinterpret_cast<const char*>(&offset), 4);
  if (m_order.Failed() || !m_index.Insert(hash, static_cast<int>(offset))) {
    m_order.ResetFailure();
    m_order.Truncate(orderLength);
    m_text.Truncate(length);
    return false;
  }
  m_bFirstByte[static_cast<unsigned char>(name[0])] = true;
  if (nameLength > m_nLongest) m_nLongest = nameLength;
  return true;
}

bool CMacroTable::Undefine(const char* name, std::size_t length) {
  if (m_index.GetCount() == 0 || length == 0) return false;
  const std::uint32_t hash = m_index.Hash(name, length);
  const int offset = Lookup(name, length, hash);
  if (offset < 0) return false;
  m_index.Erase(hash, [offset](int stored) { return stored == offset; });
  Record& record = RecordAt(static_cast<std::uint32_t>(offset));
  record.removed = 1;
  m_nGarbage += sizeof(Record) + record.nameLength + record.valueLength;
  ++m_nRemoved;
  CompactIfWorthIt();
  return true;
}

Core::CArray<CDictionary> CMacroTable::GetEntries() const {
  Core::CArray<CDictionary> entries;
  Core::CString name;
  Core::CString value;
  for (int i = 0; i < GetRecordCount(); ++i) {
    const Record& record = RecordAt(OrderAt(i));
    if (record.removed) continue;
    if (!name.AllocBuffer(static_cast<int>(record.nameLength)) ||
        !value.AllocBuffer(static_cast<int>(record.valueLength))) {
      continue;
    }
    std::memcpy(name.GetBuffer(), &record + 1, record.nameLength);
    if (record.valueLength) {
      std::memcpy(value.GetBuffer(), m_text.GetText() + record.value, record.valueLength);
    }
    entries.Add(CDictionary(name, value));
  }
  return entries;
}

// Copies the live records, in order, into a new block and indexes them
// anew; without memory for that the table simply stays as it is.
void CMacroTable::CompactIfWorthIt() {
  const bool manyRemoved =
      m_nRemoved >= kCompactAfterRemovals && m_nRemoved * 2 >= GetRecordCount();
  const bool muchGarbage = m_nGarbage >= kCompactAfterBytes && m_nGarbage * 2 >= m_text.GetLength();
  if (!manyRemoved && !muchGarbage) return;
  CMacroTable compact;
  compact.m_text.Reserve(m_text.GetLength() - m_nGarbage + kAlign * (GetRecordCount() + 1));
  if (compact.m_text.Failed()) return;
  for (int i = 0; i < GetRecordCount(); ++i) {
    const Record& record = RecordAt(OrderAt(i));
    if (record.removed) continue;
    const char* name = reinterpret_cast<const char*>(&record + 1);
    if (!compact.Define(name, record.nameLength, m_text.GetText() + record.value,
                        record.valueLength)) {
      return;
    }
  }
  m_text.Swap(compact.m_text);
  m_order.Swap(compact.m_order);
  m_index.Swap(compact.m_index);
  m_nRemoved = 0;
  m_nGarbage = 0;
}
