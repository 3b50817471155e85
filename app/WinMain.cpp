// Entry point: the project named on the command line, the main window, the
// message loop.
#include <windows.h>

#include "project/Document.h"
#include "app/MainWnd.h"
#include "app/core/Startup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR commandLine, int) {
  const Core::CString path = ApplyCommandLineRule(commandLine);
  CDocument doc(path.GetText());
  LoadStartupDocument(path, &doc);
  int result = 0;
  {
    CMainWnd mainWnd(hInstance, GetDesktopWindow(), doc);
    result = mainWnd.Run("Tovi");
  }
  return result;
}
