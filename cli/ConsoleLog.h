// The conversion run's log written to standard output as it arrives.
#pragma once

#include "cli/ConsoleOutput.h"
#include "engine/ConversionRun.h"

class CConsoleLog : public ILogSink {
 public:
  CConsoleLog(IConsole& console, OutputEncoding encoding)
      : m_console(console), m_encoding(encoding) {}
  void AppendLog(const Core::CString& text) override {
    WriteForConsole(m_console, text, m_encoding);
  }

 private:
  IConsole& m_console;
  OutputEncoding m_encoding;
};
