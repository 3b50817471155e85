// CDictionary: one macro definition, a name and its replacement text.
#pragma once

#include "foundation/String.h"

class CDictionary {
 public:
  CDictionary() = default;
  CDictionary(const Core::CString& name, const Core::CString& value)
      : m_strName(name), m_strValue(value) {}
  CDictionary(const CDictionary& other) = default;
  // Assigns the name, then the value.
  CDictionary& operator=(const CDictionary& other) {
    m_strName = other.m_strName;
    m_strValue = other.m_strValue;
    return *this;
  }
  ~CDictionary() = default;

  Core::CString m_strName;   // as written on the #define line; never empty once stored
  Core::CString m_strValue;  // may be empty
};
