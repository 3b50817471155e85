// Where the command line's output goes: the program binds it to the
// standard streams, tests to strings.
#pragma once

#include <cstddef>
#include <string>

#include "foundation/String.h"

class IConsole {
 public:
  virtual ~IConsole() = default;
  // False when the bytes could not be written.
  virtual bool Out(const char* bytes, std::size_t size) = 0;
  virtual void Err(const std::string& bytes) = 0;
  bool Out(const std::string& bytes) { return Out(bytes.data(), bytes.size()); }
};

enum class OutputEncoding { kUtf8, kCp932 };

// Code page 932 text as the console should receive it.
std::string EncodeForConsole(const Core::CString& text, OutputEncoding encoding);

// Writes code page 932 text to standard output in the console's encoding,
// converting piece by piece in a fixed block: a long conversion log needs
// no memory of its own. False when the bytes could not be written.
bool WriteForConsole(IConsole& console, const Core::CString& text, OutputEncoding encoding);

// A count with its noun: "1 item", "2 items".
std::string Counted(int count, const char* noun);
