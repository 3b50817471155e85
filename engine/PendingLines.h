// CPendingLines: the lines the line pass has yet to reach, in order: the
// rest of the source, with the lines of each inclusion spliced in front.
// Taking the next line costs O(1) and splicing costs nothing per later
// line, where an in-place list would shift every line after the splice.
// Each splice remembers the file it came from, so that an inclusion of a
// file that is still being included can be recognised.
#pragma once

#include <memory>
#include <vector>

#include "Array.h"
#include "File.h"
#include "String.h"

class CPendingLines {
 public:
  CPendingLines() = default;
  CPendingLines(const CPendingLines&) = delete;
  CPendingLines& operator=(const CPendingLines&) = delete;

  // Starts over with the lines of a source (taken out of `lines` as they
  // are consumed). `id` identifies the source file; null when there is none.
  void Reset(Core::CArray<Core::CString>* lines, const Core::FileId* id);
  // Forgets every pending line.
  void Clear();

  // Moves the next line into `line`; false when none is left.
  bool Take(Core::CString& line);

  // Opens a splice in front of the pending lines; the caller appends its
  // lines to the array returned. `last`, when given, is taken over and
  // follows those lines. Null when memory ran out.
  Core::CArray<Core::CString>* Splice(const Core::FileId* id, Core::CString* last);

  // True when the file is the source or an inclusion whose lines (or end
  // marker) are still pending or being processed.
  bool IsOpen(const Core::FileId& id) const;
  // Number of inclusions open, as IsOpen counts them.
  int GetDepth() const { return static_cast<int>(m_frames.size()); }

 private:
  struct Frame {
    Core::CArray<Core::CString> lines;
    int next = 0;
    Core::CString last;
    bool hasLast = false;
    Core::FileId id;
    bool hasId = false;
  };

  Core::CArray<Core::CString>* m_pSource = nullptr;
  int m_nSourceNext = 0;
  Core::FileId m_sourceId;
  bool m_bSourceHasId = false;
  // Innermost last. A frame stays until a line is wanted after its last
  // one, so the file whose last line is being processed still counts as open.
  std::vector<std::unique_ptr<Frame>> m_frames;
};
