// Times the window's conversion run under Wine: the real main window, the
// Convert all command over COUNT small items, the log pane included. While
// the run lasts the window is kept in need of painting (its frame made
// invalid after each paint, as a window dragged across it would), and the
// paints of the frame and of the log pane are counted.
// usage: tovi_window_bench.exe [--no-window] COUNT...   prints one line per
// COUNT (--no-window: the same run without the window, for comparison)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/ConversionRun.h"
#include "project/Document.h"
#include "app/MainWnd.h"

namespace {

constexpr char kClassName[] = "ToviWindowBench";

HWND g_hMain = nullptr;
WNDPROC g_logProc = nullptr;
WNDPROC g_mainProc = nullptr;
int g_logPaints = 0;
int g_framePaints = 0;

LRESULT CALLBACK CountLogPaints(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    ++g_logPaints;
    RedrawWindow(g_hMain, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
  return CallWindowProcA(g_logProc, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CountFramePaints(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCPAINT) ++g_framePaints;
  return CallWindowProcA(g_mainProc, hWnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteText(const std::string& path, const char* text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  CloseHandle(file);
  return ok != FALSE;
}

class CNoLog : public ILogSink {
 public:
  void AppendLog(const Core::CString&) override {}
};

// Converts `count` items with a fresh window (or without one); false when
// it could not run.
bool RunOnce(const std::string& dir, int count, bool window) {
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA((dir + "\\src").c_str(), nullptr);
  CreateDirectoryA((dir + "\\out").c_str(), nullptr);
  CDocument doc((dir + "\\bench.tvx").c_str());
  for (int i = 0; i < count; ++i) {
    const std::string source = dir + "\\src\\f" + std::to_string(i) + ".c";
    const std::string destination = dir + "\\out\\f" + std::to_string(i) + ".c";
    DeleteFileA(destination.c_str());
    DeleteFileA((destination + ".bak").c_str());
    if (!WriteText(source, "#define X 1\n#undef Y\nint a = X;\n")) return false;
    doc.m_aItems.Add(CItem(source.c_str(), destination.c_str()));
  }
  if (!window) {
    Core::CArray<int> indices;
    for (int i = 0; i < count; ++i) indices.Add(i);
    CNoLog log;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    ConvertItems(doc.m_aItems, indices, ConversionSettings(), log);
    QueryPerformanceCounter(&end);
    std::printf("items %d without the window: %.3f s\n", count, Seconds(start, end));
    return true;
  }
  CMainWnd wnd(GetModuleHandleA(nullptr), GetDesktopWindow(), doc);
  if (!wnd.Create(kClassName)) return false;
  Pump();
  g_hMain = wnd.m_hWnd;
  g_logProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd.m_hWndLog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountLogPaints)));
  g_mainProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountFramePaints)));
  g_logPaints = g_framePaints = 0;
  RedrawWindow(wnd.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceCounter(&start);
  wnd.OnConvertAll();
  QueryPerformanceCounter(&end);
  const int logPaints = g_logPaints;
  const int framePaints = g_framePaints;
  LARGE_INTEGER shown;
  Pump();  // what the run left for the message loop: the rest of the log
  QueryPerformanceCounter(&shown);
  const int logLength = GetWindowTextLengthA(wnd.m_hWndLog);
  std::printf(
      "items %d: run %.3f s, with the log shown %.3f s, log %d bytes, "
      "paints during the run: frame %d, log %d\n",
      count, Seconds(start, end), Seconds(start, shown), logLength, framePaints, logPaints);
  std::fflush(stdout);
  SetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_mainProc));
  DestroyWindow(wnd.m_hWnd);
  Pump();
  UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "tovi-window-bench";
  const bool window = !(argc > 1 && std::strcmp(argv[1], "--no-window") == 0);
  for (int i = window ? 1 : 2; i < argc; ++i) {
    if (!RunOnce(dir, std::atoi(argv[i]), window)) {
      std::printf("items %s: could not run\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
