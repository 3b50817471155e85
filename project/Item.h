// CItem: one project item, a source file and the destination it converts to.
#pragma once

#include "foundation/String.h"

class CItem {
 public:
  CItem() = default;
  CItem(const Core::CString& source, const Core::CString& destination)
      : m_strSource(source), m_strDestination(destination) {}
  CItem(const CItem& other) = default;
  // Assigns the source, then the destination.
  CItem& operator=(const CItem& other) {
    m_strSource = other.m_strSource;
    m_strDestination = other.m_strDestination;
    return *this;
  }
  // Members are released in reverse order: destination, then source.
  ~CItem() = default;

  Core::CString m_strSource;
  Core::CString m_strDestination;
};
