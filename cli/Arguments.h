// Parsing of one subcommand's arguments: options ("--name", "--name value"
// or "--name=value") anywhere, "--" ends the options, the rest are operands.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "foundation/String.h"

struct OptionSpec {
  const char* name;  // without the leading "--"
  bool takesValue;
};

class CArguments {
 public:
  // False with an error text for an unknown option or a missing value.
  bool Parse(const std::vector<Core::CString>& args, const std::vector<OptionSpec>& specs);

  bool Has(const std::string& name) const { return m_options.count(name) != 0; }
  // The option's value, or `fallback` when it was not given.
  Core::CString Value(const std::string& name, const char* fallback = "") const;
  const std::vector<Core::CString>& Operands() const { return m_operands; }
  const std::string& Error() const { return m_error; }

 private:
  std::map<std::string, Core::CString> m_options;
  std::vector<Core::CString> m_operands;
  std::string m_error;
};

// Parses a whole decimal int ("-3", "12"); false for anything else.
bool ParseInt(const Core::CString& text, int* value);

// Parses a directive disposition given on the command line: 0, 1 or 2.
bool ParseDisposition(const Core::CString& text, int* value);

// Parses a source encoding given on the command line, cp932 or utf-8, into
// its code page (kSourceCp932, kSourceUtf8).
bool ParseSourceEncoding(const Core::CString& text, int* codePage);

// The name ParseSourceEncoding takes for a project's code page.
const char* SourceEncodingName(int codePage);
