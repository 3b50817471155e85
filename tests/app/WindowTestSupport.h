// A fixture that creates the real main window around a document, pumps its
// messages, and reads tovi.ini as the program leaves it on disk.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "project/Document.h"
#include "app/MainWnd.h"

namespace WindowTest {

// tovi.ini beside the test program, where CMainWnd keeps it.
std::string IniPath();
// Section/key -> value as the file on disk holds them.
std::map<std::string, std::string> ReadIni();
void WriteIni(const std::string& text);
void RemoveIni();

// The display DPI this run was started at: TOVI_TEST_DPI as tests/app/run-at-dpi
// sets it, 96 without it.
int ExpectedDpi();

// Child window rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// Resizes the window until its client area is width × height.
void SetClientSize(HWND hWnd, int width, int height);

std::string WindowText(HWND hWnd);
std::string ListText(HWND list, int row, int column);

CDocument MakeDocument(const char* path, int itemCount);

// WM_DROPFILES as a drop of `files` from Explorer at `at`, in the client
// coordinates of `hWnd`; the window frees the drop.
void DropFiles(HWND hWnd, const std::vector<std::string>& files, POINT at);

class MainWndTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window as Run does, without the message loop.
  CMainWnd& Open(const CDocument& doc);
  // Destroys the window (OnDestroy writes tovi.ini) and keeps the object.
  void Close();
  // Dispatches every waiting message; remembers a quit message.
  void Pump();
  void Post(UINT message, WPARAM wParam, int x, int y);

  std::unique_ptr<CMainWnd> m_wnd;
  bool m_bQuit = false;
};

}  // namespace WindowTest
