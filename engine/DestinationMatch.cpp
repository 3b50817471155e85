#include "engine/DestinationMatch.h"

#include <cstring>

#include "foundation/Compiler.h"
#include "foundation/FileSystem.h"

namespace {

// Bytes read at a time: the comparison needs no memory of its own.
constexpr int kChunk = 16 * 1024;
constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Fu;

std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
  const Core::Product128 product = Core::Multiply128(a, b);
  return product.low ^ product.high;
}

}  // namespace

void CRunningHash::Mix(std::uint64_t word) {
  m_nState = Fold(m_nState ^ word, kMultiplier) + 0xE7037ED1A0B428DBu;
}

void CRunningHash::Add(const char* data, std::size_t size) {
  m_nLength += size;
  if (m_nPending != 0) {
    // Fills the pending word first; fewer than 8 bytes are ever pending.
    const std::size_t room = sizeof m_aPending - m_nPending;
    const std::size_t take = size < room ? size : room;
    std::memcpy(m_aPending + m_nPending, data, take);
    m_nPending += take;
    data += take;
    size -= take;
    if (m_nPending < sizeof m_aPending) return;
    std::uint64_t word;
    std::memcpy(&word, m_aPending, 8);
    Mix(word);
    m_nPending = 0;
  }
  for (; size >= 8; data += 8, size -= 8) {
    std::uint64_t word;
    std::memcpy(&word, data, 8);
    Mix(word);
  }
  std::memcpy(m_aPending + m_nPending, data, size);
  m_nPending += size;
}

std::uint64_t CRunningHash::Value() const {
  std::uint64_t tail = 0;
  std::memcpy(&tail, m_aPending, m_nPending);
  return Fold(m_nState ^ tail, m_nLength ^ kMultiplier);
}

bool CDestinationMatch::Open(const Core::CString& path) {
  m_nMatched = 0;
  m_hash = CRunningHash();
  return (m_strPath = path) && m_file.Open(path, false, false);
}

CDestinationMatch::Match CDestinationMatch::Compare(const char* data, std::size_t size) {
  char chunk[kChunk];
  for (std::size_t done = 0; done < size;) {
    const int want =
        size - done < static_cast<std::size_t>(kChunk) ? static_cast<int>(size - done) : kChunk;
    const int read = m_file.Read(chunk, want);
    if (read != want || std::memcmp(chunk, data + done, static_cast<std::size_t>(want)) != 0) {
      m_file.Close();
      return read < 0 ? Match::kReadFailed : Match::kDiffers;
    }
    done += static_cast<std::size_t>(want);
  }
  m_hash.Add(data, size);
  m_nMatched += size;
  return Match::kSame;
}

bool CDestinationMatch::Holds(const Core::CString& path) const {
  Core::FileId open;
  Core::FileId named;
  return m_file.GetId(&open) && Core::GetFileId(path, &named) == Core::PathState::kPresent &&
         named == open;
}

CDestinationMatch::Match CDestinationMatch::CompareEnd() {
  char byte;
  const int read = m_file.Read(&byte, 1);
  m_file.Close();
  return read == 0 ? Match::kSame : read < 0 ? Match::kReadFailed : Match::kDiffers;
}

bool CDestinationMatch::CopyMatched(Core::CReplacingFile& to) {
  m_file.Close();
  Core::CFile file;
  if (!file.Open(m_strPath, false, false)) return false;
  CRunningHash again;
  char chunk[kChunk];
  for (std::uint64_t left = m_nMatched; left > 0;) {
    const int want = left < static_cast<std::uint64_t>(kChunk) ? static_cast<int>(left) : kChunk;
    if (file.Read(chunk, want) != want || !to.Write(chunk, static_cast<std::size_t>(want))) {
      return false;
    }
    again.Add(chunk, static_cast<std::size_t>(want));
    left -= static_cast<std::uint64_t>(want);
  }
  return again.Value() == m_hash.Value();
}
