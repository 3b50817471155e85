// CMainWnd: the one top-level window. The item list above, the log pane
// below, the split bar between them; it owns the project document.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/core/AppSettings.h"
#include "app/core/AutoConversion.h"
#include "project/Document.h"
#include "app/core/Layout.h"
#include "foundation/String.h"

// Posted by AppendLog to bring the log pane up to date.
constexpr UINT kLogUpdateMessage = WM_APP + 1;
// The automatic conversion's timer, and how often it looks at the watch.
constexpr UINT_PTR kAutoConvertTimer = 1;
constexpr UINT kAutoConvertTickMs = 200;

namespace Core {
class CChangeWatch;
}

class CMainWnd {
 public:
  CMainWnd(HINSTANCE hInstance, HWND hWndParent, const CDocument& doc);
  ~CMainWnd();
  CMainWnd(const CMainWnd&) = delete;
  CMainWnd& operator=(const CMainWnd&) = delete;

  // Creates and shows the window, runs the message loop; always 0.
  int Run(const char* className);
  // Run's steps up to the message loop: settings, class, window, show
  // state, accelerators. False when the window could not be made.
  bool Create(const char* className);
  void MessageLoop();

  LRESULT WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate(HWND hWnd);
  void OnSize(UINT sizeType, int width, int height);
  void OnDestroy();
  void OnCommand(int id);
  LRESULT OnCtlColorStatic(HDC hdc, HWND hWndControl);
  void OnMouseMove(int x, int y);
  void OnLButtonDown(int x, int y);
  void OnLButtonUp(int x, int y);
  // WM_NOTIFY from the item list: double-click, right-click and keys.
  void OnNotify(const NMHDR& header);
  // Enter edits, Delete deletes, as the menu commands do.
  void OnListKeyDown(WORD key);
  // WM_CONTEXTMENU: true when handled. Only the keyboard's request from the
  // item list is; a right click has opened its menu on NM_RCLICK.
  bool OnContextMenu(HWND from, bool keyboard);
  // WM_ACTIVATE: an inactive window remembers which pane had the focus.
  void OnActivate(bool active);
  // WM_SETFOCUS: the focus goes on to that pane, the list at first.
  void OnSetFocus();
  // Tab and Shift+Tab in either pane: the focus moves to the other one.
  void OnTabKey(HWND from);
  // WM_NCHITTEST of a pane at a screen point: true when the split bar lies
  // there, so that the main window takes the pointer.
  bool IsOnSplitBar(int screenX, int screenY) const;
  // WM_DROPFILES: projects open, other files dropped on the list are added.
  void OnDropFiles(HDROP drop);
  // Enables the Edit and Convert menus' items for the current selection.
  void OnInitMenuPopup(HMENU popup, int position, bool windowMenu);
  // WM_CLOSE: false keeps the window open.
  bool OnClose();
  // WM_DPICHANGED: the window moves to `suggested` and lays itself out,
  // with its fonts and icons, for `dpi`.
  void OnDpiChanged(int dpi, const RECT& suggested);

  // Item commands.
  void OnAddItem();
  // The add dialog, showing `source`; false when it was cancelled.
  bool AddItem(const Core::CString& source);
  void OnEditItem();
  void OnDeleteItems();
  void OnSelectAll();
  void OnDeselectAll();
  void OnConvertAll();
  void OnConvertSelected();
  // Converts all items, leaving destinations that hold their output alone.
  void OnConvertChanged();
  void OnProjectSettings();
  void OnCommonSettings();
  void OnReadMe();
  void OnVersion();
  void OnEditSource();
  void OnEditDestination();
  // Converts the document's items at `indices`, in that order, reporting in the log.
  void ConvertItems(const Core::CArray<int>& indices, bool onlyChanged = false);
  // The conversion settings of the document.
  ConversionSettings RunSettings() const;

  // Automatic conversion: while it is on, a change to a file an item read
  // converts the items concerned (incrementally), as a timer finds it.
  void OnAutoConvert();
  // Turns it on, or starts it over for the document now open: the watched
  // files are the items', and a pass takes up every item.
  void StartAutoConvert();
  void StopAutoConvert();
  // The timer's tick: a pass over the items a change concerns.
  void OnAutoConvertTimer();
  // After items were added, edited or deleted, or the settings changed:
  // the watched files follow, and a pass takes up the new or changed items.
  void ItemsChanged();

  // Project file commands.
  // True to go ahead: nothing unsaved, changes discarded, or saved.
  bool QuerySave();
  void OnNew();
  // Without a path the user picks the file.
  void OnOpen(const char* path = nullptr);
  void OpenFromHistory(int index);
  void OnSave();
  void OnSaveAs();
  void OnExit();

  void LoadSettings();
  void SaveSettings();
  void AddToHistory(const Core::CString& path);
  void RebuildHistoryMenu();
  void UpdateTitle();
  // Appends to the log text; the pane shows it once the message loop runs.
  void AppendLog(const Core::CString& text);
  // Brings the pane up to the log text (posted by AppendLog).
  void OnLogUpdate();
  // Empties the log text and the pane (New and a successful Open).
  void ClearLog();

  // Rows of the item list from the document's items, in document order.
  void FillItemList();
  // Deletes every row, then fills the list anew; with `keepSelection` the
  // rows selected and focused before are again (rows and items keep their
  // order).
  void RefillItemList(bool keepSelection = false);

  // The commands and the window tests work on these directly.
  HINSTANCE m_hInstance = nullptr;
  HWND m_hWndParent = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hWndLog = nullptr;
  HWND m_hWndList = nullptr;
  HBRUSH m_hbrBackground = nullptr;
  HBRUSH m_hbrLog = nullptr;
  HFONT m_hFontLog = nullptr;
  // The list's own font, and ours in its place while the window's DPI is
  // not the system's (the list sizes its font for the system DPI only).
  HFONT m_hFontListDefault = nullptr;
  HFONT m_hFontList = nullptr;
  HICON m_hIconSmall = nullptr;
  HICON m_hIconBig = nullptr;
  // What the window's pixel quantities are scaled for.
  int m_nDpi = Layout::kBaseDpi;
  HMENU m_hMenuContext = nullptr;
  HMENU m_hMenuSingle = nullptr;
  HMENU m_hMenuPlural = nullptr;
  HWND m_hWndFocus = nullptr;  // the pane that had the focus when the window was left
  int m_nDragLastY = 0;
  Layout::Rect m_rcSplitBar;
  int m_bDragging = 0;
  int m_nDragMin = 0;
  int m_nDragMax = 0;
  Core::CString m_strLog;
  int m_nLogLength = 0;  // bytes of m_strLog, kept so appending stays cheap
  int m_nLogShown = 0;   // bytes of m_strLog the pane shows
  int m_bLogUpdatePending = 0;
  Core::CString m_strModuleDir;
  Core::CString m_strModulePath;
  CDocument m_doc;
  Core::CString m_strIniPath;
  // Restore flag, split rate, history count, shown count and history.
  CAppSettings m_settings;
  // Where the window first appears; read by LoadSettings, used by Create.
  StartPlacement m_startPlacement;
  HACCEL m_hAccelerators = nullptr;
  bool m_bAutoConvert = false;
  Core::CChangeWatch* m_pWatch = nullptr;  // only while the automatic conversion is on
  CAutoConversion m_autoConversion;
  bool m_bConverting = false;  // a run is in progress

 private:
  // The watch looks at the files the automatic conversion knows of; false
  // when memory ran out.
  bool WatchItemFiles();
  // Memory ran out: the automatic conversion says so and stops.
  void FailAutoConvert();
  void CreateItemList(const RECT& client, int height);
  void CreateLogPane(const RECT& client, int height);
  // Makes the log and list fonts and the icons for m_nDpi, freeing the
  // ones they replace.
  void ApplyDpiResources();
  // Resizes a window made at the system DPI that shows at another one.
  void FitSizeToDpi(const StartPlacement& made);
  void DrawDragBand() const;
  int SelectedCount() const;
  int RowCount() const;
  int NextSelectedRow(int after) const;
  // Column 0 and 1 texts of a row, as the list holds them.
  void RowTexts(int row, Core::CString* source, Core::CString* destination) const;
  void SetRow(int row, const CItem& item, bool insert);
  // Gives the list the focus and makes `row` the one selected, focused row,
  // scrolled into view.
  void SelectOnlyRow(int row);
  // The context menu for the selection, nullptr when nothing is selected.
  HMENU ContextMenuForSelection() const;
  // Where the keyboard opens the context menu, in list client coordinates.
  POINT ContextMenuAnchor() const;
  // Lets the two panes route Tab and the split bar's hit test here.
  void SubclassPanes();
  void OpenItemFile(bool destination);
  // Opens the file with the shell's default action; a message box says when it cannot.
  void OpenWithShell(const Core::CString& path, const Core::CString& folder);
  // Logs the document's message when the load or save failed; returns succeeded.
  bool ReportDocumentResult(bool succeeded);
  HCURSOR SplitCursor() const;
};

template <class T>
void DeleteGdiObject(T* handle) {
  if (*handle) DeleteObject(*handle);
  *handle = nullptr;
}

inline void DestroyIconHandle(HICON* icon) {
  if (*icon) DestroyIcon(*icon);
  *icon = nullptr;
}

// The window procedure of the class: forwards to the registered CMainWnd.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
