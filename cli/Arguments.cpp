#include "cli/Arguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "foundation/SourceEncoding.h"

bool CArguments::Parse(const std::vector<Core::CString>& args,
                       const std::vector<OptionSpec>& specs) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string arg = args[i].GetText();
    if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (arg == "--") {
        optionsEnded = true;
      } else {
        m_operands.push_back(args[i]);
      }
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : specs) {
      if (name == candidate.name) spec = &candidate;
    }
    if (!spec) {
      m_error = "unknown option --" + name;
      return false;
    }
    if (!spec->takesValue) {
      if (equals != std::string::npos) {
        m_error = "option --" + name + " takes no value";
        return false;
      }
      m_options[name] = "";
    } else if (equals != std::string::npos) {
      m_options[name] = arg.substr(equals + 1).c_str();
    } else if (i + 1 < args.size()) {
      m_options[name] = args[++i];
    } else {
      m_error = "option --" + name + " needs a value";
      return false;
    }
  }
  return true;
}

Core::CString CArguments::Value(const std::string& name, const char* fallback) const {
  const auto found = m_options.find(name);
  return found == m_options.end() ? Core::CString(fallback) : found->second;
}

bool ParseInt(const Core::CString& text, int* value) {
  const char* begin = text.GetText();
  if (!((*begin >= '0' && *begin <= '9') || *begin == '-')) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(begin, &end, 10);
  if (*end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseDisposition(const Core::CString& text, int* value) {
  int parsed = 0;
  if (!ParseInt(text, &parsed) || parsed < 0 || parsed > 2) return false;
  *value = parsed;
  return true;
}

bool ParseSourceEncoding(const Core::CString& text, int* codePage) {
  const std::string name = text.GetText();
  if (name == "cp932" || name == "CP932") {
    *codePage = kSourceCp932;
  } else if (name == "utf-8" || name == "utf8" || name == "UTF-8") {
    *codePage = kSourceUtf8;
  } else {
    return false;
  }
  return true;
}

const char* SourceEncodingName(int codePage) { return codePage == kSourceUtf8 ? "utf-8" : "cp932"; }
