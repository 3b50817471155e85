#include "tests/app/ModalAnswer.h"

#include <algorithm>

namespace WindowTest {

namespace {

ModalAnswerer* g_pAnswerer = nullptr;

bool IsDialogWindow(HWND hWnd) {
  char name[16] = "";
  GetClassNameA(hWnd, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0 && !(GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD);
}

std::string TextOf(HWND hWnd) {
  char buffer[2048] = "";
  GetWindowTextA(hWnd, buffer, sizeof buffer);
  return buffer;
}

std::string IconName(HWND control) {
  const HICON shown = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
  const struct {
    LPCSTR id;
    const char* name;
  } icons[] = {{IDI_INFORMATION, "information"},
               {IDI_QUESTION, "question"},
               {IDI_WARNING, "warning"},
               {IDI_ERROR, "error"}};
  for (const auto& icon : icons) {
    if (shown && shown == LoadIconA(nullptr, icon.id)) return icon.name;
  }
  return "";
}

// Centred on the owner, or moved no further than needed to stay on its screen.
bool CentredOnOwner(HWND hWnd) {
  const HWND owner = GetWindow(hWnd, GW_OWNER);
  RECT rect;
  RECT under;
  if (!owner || !GetWindowRect(hWnd, &rect) || !GetWindowRect(owner, &under)) return false;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  auto axis = [](LONG start, LONG end, LONG ownerStart, LONG ownerEnd, LONG areaStart,
                 LONG areaEnd) {
    const LONG offCentre = (start + end) - (ownerStart + ownerEnd);  // twice the distance
    if (offCentre >= -1 && offCentre <= 1) return true;
    return offCentre > 0 ? start == areaStart : end == areaEnd;
  };
  return axis(rect.left, rect.right, under.left, under.right, area.left, area.right) &&
         axis(rect.top, rect.bottom, under.top, under.bottom, area.top, area.bottom);
}

ModalWindow Describe(HWND dialog) {
  ModalWindow seen;
  seen.caption = TextOf(dialog);
  seen.centred = CentredOnOwner(dialog);
  const HWND focus = GetFocus();
  if (focus && GetParent(focus) == dialog) seen.focus = GetDlgCtrlID(focus);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0) {
      const LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
      if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        seen.buttons.push_back(GetDlgCtrlID(child));
    } else if (lstrcmpiA(name, "Static") == 0) {
      if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        if (IsWindowVisible(child)) seen.icon = IconName(child);
        continue;
      }
      const std::string text = TextOf(child);
      if (text.empty()) continue;
      if (!seen.text.empty()) seen.text += '\n';
      seen.text += text;
    }
  }
  return seen;
}

void Erase(std::vector<HWND>* list, HWND hWnd) {
  list->erase(std::remove(list->begin(), list->end(), hWnd), list->end());
}

}  // namespace

ModalAnswerer::ModalAnswerer() {
  g_pAnswerer = this;
  m_hook = SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
  if (m_hook) UnhookWindowsHookEx(m_hook);
  g_pAnswerer = nullptr;
}

void ModalAnswerer::Push(Answer answer) { m_answers.push_back(std::move(answer)); }

void ModalAnswerer::Press(int id) {
  Push([id](HWND dialog) { PressButton(dialog, id); });
}

LRESULT CALLBACK ModalAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  ModalAnswerer* self = g_pAnswerer;
  if (self && code >= 0) {
    const HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_DESTROYWND) {
      Erase(&self->m_handled, hWnd);
      Erase(&self->m_waiting, hWnd);
    } else if (code == HCBT_ACTIVATE && IsDialogWindow(hWnd) &&
               std::find(self->m_handled.begin(), self->m_handled.end(), hWnd) ==
                   self->m_handled.end()) {
      // Answer from the modal loop, once the window is fully set up.
      self->m_handled.push_back(hWnd);
      self->m_waiting.push_back(hWnd);
      SetTimer(nullptr, 0, 1, TimerProc);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswerer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_pAnswerer) g_pAnswerer->AnswerWaiting();
}

void ModalAnswerer::AnswerWaiting() {
  while (!m_waiting.empty()) {
    const HWND dialog = m_waiting.front();
    m_waiting.erase(m_waiting.begin());
    if (!IsWindow(dialog)) continue;
    ModalWindow seen = Describe(dialog);
    seen.answered = !m_answers.empty();
    m_seen.push_back(seen);
    if (m_answers.empty()) {
      PressButton(dialog, IDCANCEL);
      continue;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    answer(dialog);
  }
}

void PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetItemText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
}

std::string ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

void AnswerFileDialog(HWND dialog, const std::string& path) {
  // The file name field is a combo box (cmb13) in the Explorer-style
  // dialog and an edit (edt1) in the old one.
  const int kFileNameCombo = 0x47c;
  const int kFileNameEdit = 0x480;
  const int field = GetDlgItem(dialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
  SetItemText(dialog, field, path);
  PressButton(dialog, IDOK);
}

}  // namespace WindowTest
