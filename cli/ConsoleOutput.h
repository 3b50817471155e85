// Where the command line's output goes: the program binds it to the
// standard streams, tests to strings.
#pragma once

#include <string>

#include "String.h"

class IConsole {
 public:
  virtual ~IConsole() = default;
  // False when the bytes could not be written.
  virtual bool Out(const std::string& bytes) = 0;
  virtual void Err(const std::string& bytes) = 0;
};

enum class OutputEncoding { kUtf8, kCp932 };

// Code page 932 text as the console should receive it.
std::string EncodeForConsole(const Core::CString& text, OutputEncoding encoding);

// A count with its noun: "1 item", "2 items".
std::string Counted(int count, const char* noun);
