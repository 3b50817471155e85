// CPendingLines: the lines the line pass has yet to reach, in order: the
// rest of the source, with the lines of each inclusion spliced in front as
// a block of its own. Taking the next line costs O(1) and splicing costs
// nothing per later line. Each splice remembers the file it came from, so
// that an inclusion of a file that is still being included can be
// recognised. The frames are a fixed stack whose blocks are kept for the
// next inclusion at the same depth, so nothing here can fail but a read.
#pragma once

#include <cstddef>

#include "foundation/File.h"
#include "engine/LineBlock.h"

class CPendingLines {
 public:
  // Inclusions open at once, at most.
  static constexpr int kMaxFrames = 64;

  CPendingLines() = default;
  CPendingLines(const CPendingLines&) = delete;
  CPendingLines& operator=(const CPendingLines&) = delete;

  // Starts over with the lines of a source, taken from `lines` as they are
  // consumed. `id` identifies the source file; null when there is none.
  void Reset(CLineBlock* lines, const Core::FileId* id);
  // Forgets every pending line.
  void Clear();

  // The next line, zero-terminated, and its length; false when none is
  // left. The text stays valid until a line after it is taken.
  bool Take(const char** line, std::size_t* length) {
    if (m_nDepth == 0) return m_pSource && m_pSource->Take(line, length);
    return TakeIncluded(line, length);
  }

  // The block the last line taken came from; null before the first.
  CLineBlock* Current() { return m_nDepth > 0 ? &m_frames[m_nDepth - 1].lines : m_pSource; }

  // Opens a splice in front of the pending lines and returns its empty
  // block for the caller to fill; null when kMaxFrames are open.
  CLineBlock* Splice(const Core::FileId* id);

  // True when the file is the source or an inclusion whose lines are still
  // pending or being processed.
  bool IsOpen(const Core::FileId& id) const;
  // Whether the file the last line taken came from is read as UTF-8.
  bool IsUtf8() const {
    if (m_nDepth > 0) return m_frames[m_nDepth - 1].lines.IsUtf8();
    return m_pSource && m_pSource->IsUtf8();
  }

 private:
  bool TakeIncluded(const char** line, std::size_t* length);

  struct Frame {
    CLineBlock lines;
    Core::FileId id;
    bool hasId = false;
  };

  CLineBlock* m_pSource = nullptr;
  Core::FileId m_sourceId;
  bool m_bSourceHasId = false;
  // Innermost last. A frame stays until a line is wanted after its last
  // one, so the file whose last line is being processed still counts as open.
  Frame m_frames[kMaxFrames];
  int m_nDepth = 0;
};
