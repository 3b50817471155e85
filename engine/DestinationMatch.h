// CDestinationMatch: compares an item's output, piece by piece as it is
// made, with the bytes its destination already holds, so that a
// destination that holds the output is left untouched: no temporary, no
// backup, its time unchanged.
//
// The pieces that matched are not kept. At the first difference the new
// file is made after all, and its first bytes (those that matched) are read
// again from the destination. A running hash of what was compared makes
// sure they are still those bytes; a destination changed in between fails
// the item instead of passing a mixture for the output. This costs an
// unchanged item only reads, where making the temporary up front and
// dropping it would cost a create and a remove per item.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/File.h"
#include "foundation/ReplacingFile.h"
#include "foundation/String.h"

// A hash of a byte stream, the same however the stream is cut into pieces.
class CRunningHash {
 public:
  void Add(const char* data, std::size_t size);
  std::uint64_t Value() const;

 private:
  void Mix(std::uint64_t word);

  std::uint64_t m_nState = 0x9E3779B97F4A7C15u;
  std::uint64_t m_nLength = 0;
  unsigned char m_aPending[8] = {};
  std::size_t m_nPending = 0;
};

class CDestinationMatch {
 public:
  // Opens the destination for reading; false when it cannot be (missing,
  // held by another opener, no regular file ...) or memory ran out.
  bool Open(const Core::CString& path);
  enum class Match { kSame, kDiffers, kReadFailed };
  // Compares the next bytes of the destination with `data` (its end
  // differs from any byte). After anything but kSame it is no longer
  // compared with.
  Match Compare(const char* data, std::size_t size);
  // kSame when nothing follows the bytes that matched; closes the file.
  Match CompareEnd();
  // Lets go of the destination, so that it can be opened and replaced.
  void Close() { m_file.Close(); }
  const Core::CString& GetPath() const { return m_strPath; }
  // True when the path names the destination while it is open.
  bool Holds(const Core::CString& path) const;
  // Writes the bytes that matched to `to`, read again from the destination
  // (which is closed first); false when they cannot be read, are no longer
  // what was compared, or cannot be written.
  bool CopyMatched(Core::CReplacingFile& to);

 private:
  Core::CFile m_file;
  Core::CString m_strPath;
  std::uint64_t m_nMatched = 0;
  CRunningHash m_hash;
};
