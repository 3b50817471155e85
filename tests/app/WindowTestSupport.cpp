#include "tests/app/WindowTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace WindowTest {

namespace {
constexpr char kClassName[] = "ToviTest";
}  // namespace

std::string IniPath() {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path(module);
  return path.substr(0, path.find_last_of('\\') + 1) + "tovi.ini";
}

std::map<std::string, std::string> ReadIni() {
  std::map<std::string, std::string> values;
  std::ifstream in(IniPath(), std::ios::binary);
  std::string line;
  std::string section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (line.find('=') != std::string::npos) {
      const std::size_t equals = line.find('=');
      values[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return values;
}

void WriteIni(const std::string& text) {
  std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << text;
}

void RemoveIni() {
  // Drop the profile functions' cached copy too.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath().c_str());
  DeleteFileA(IniPath().c_str());
}

int ExpectedDpi() {
  const char* dpi = std::getenv("TOVI_TEST_DPI");
  return dpi && *dpi ? std::atoi(dpi) : 96;
}

RECT ChildRect(HWND child) {
  RECT rc;
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void SetClientSize(HWND hWnd, int width, int height) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    RECT client;
    RECT window;
    GetClientRect(hWnd, &client);
    GetWindowRect(hWnd, &window);
    if (client.right == width && client.bottom == height) return;
    SetWindowPos(hWnd, nullptr, 0, 0, window.right - window.left + width - client.right,
                 window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  }
}

std::string WindowText(HWND hWnd) {
  const int length = GetWindowTextLengthA(hWnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(hWnd, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::string ListText(HWND list, int row, int column) {
  char buffer[500] = "";
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

CDocument MakeDocument(const char* path, int itemCount) {
  CDocument doc(path);
  for (int i = 0; i < itemCount; ++i) {
    Core::CString source;
    Core::CString destination;
    source.Format(".\\src\\ファイル%d.c", i);
    destination.Format(".\\out\\ファイル%d.c", i);
    doc.m_aItems.Add(CItem(source, destination));
  }
  return doc;
}

void DropFiles(HWND hWnd, const std::vector<std::string>& files, POINT at) {
  std::string names;
  for (const std::string& file : files) names += file + '\0';
  names += '\0';
  const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
  DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(drop));
  header->pFiles = sizeof(DROPFILES);
  header->pt = at;
  header->fNC = FALSE;
  header->fWide = FALSE;
  CopyMemory(header + 1, names.data(), names.size());
  GlobalUnlock(drop);
  SendMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

void MainWndTest::SetUp() { RemoveIni(); }

void MainWndTest::TearDown() {
  if (m_wnd && IsWindow(m_wnd->m_hWnd)) Close();
  m_wnd.reset();
  UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
  RemoveIni();
}

CMainWnd& MainWndTest::Open(const CDocument& doc) {
  if (m_wnd && IsWindow(m_wnd->m_hWnd)) Close();
  UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
  m_wnd.reset(new CMainWnd(GetModuleHandleA(nullptr), GetDesktopWindow(), doc));
  const bool created = m_wnd->Create(kClassName);
  EXPECT_TRUE(created);
  Pump();
  return *m_wnd;
}

void MainWndTest::Close() {
  DestroyWindow(m_wnd->m_hWnd);
  Pump();
}

void MainWndTest::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_bQuit = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void MainWndTest::Post(UINT message, WPARAM wParam, int x, int y) {
  PostMessageA(m_wnd->m_hWnd, message, wParam, MAKELPARAM(x, y));
  Pump();
}

}  // namespace WindowTest
