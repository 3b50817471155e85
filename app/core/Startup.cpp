#include "app/core/Startup.h"

Core::CString ApplyCommandLineRule(const char* commandLine) {
  Core::CString text(commandLine ? commandLine : "");
  if (text.GetLength() < 2) return Core::CString("");
  if (text.GetText()[0] == '"') text.Delete(0, 1);
  const int length = text.GetLength();
  if (length > 0 && text.GetText()[length - 1] == '"') text.Delete(length - 1, 1);
  return text;
}

void LoadStartupDocument(const Core::CString& path, CDocument* doc) {
  if (!doc->Load(path.GetText())) doc->m_strPath.Empty();
}
