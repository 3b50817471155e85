// Appending to the log's text at a cost that does not grow with the log.
#pragma once

#include "foundation/String.h"

// Appends `tail` to `text`, whose length the caller tracks in *length
// (CString's own += measures the whole text on every call, which makes a
// long conversion run slow down as its log grows). The block at least
// doubles when it is outgrown. False, with text and length unchanged, when
// the larger block cannot be had.
bool AppendTracked(Core::CString* text, int* length, const char* tail);

// When the log pane catches up during a conversion run, which is one
// command and keeps the message loop away: at most every kLogShowInterval
// milliseconds, and never in more than a fifth of the run's time, since
// showing a long log costs more as it grows.
constexpr unsigned long long kLogShowInterval = 250;

class CLogShowPace {
 public:
  // `start`: a millisecond clock that does not go back, at the run's start.
  explicit CLogShowPace(unsigned long long start) : m_nNext(start + kLogShowInterval) {}
  bool Due(unsigned long long now) const { return now >= m_nNext; }
  // The pane caught up from `start` to `end`: the next time waits
  // kLogShowInterval, or four times as long as this one took.
  void Shown(unsigned long long start, unsigned long long end) {
    const unsigned long long wait = 4 * (end - start);
    m_nNext = end + (wait > kLogShowInterval ? wait : kLogShowInterval);
  }

 private:
  unsigned long long m_nNext;
};
