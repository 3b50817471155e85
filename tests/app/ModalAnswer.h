// Answers the modal windows a command opens (message boxes, dialogs, file
// dialogs) from inside the test, through a CBT hook on the test's thread.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace WindowTest {

// What a modal window showed when it was answered.
struct ModalWindow {
  std::string caption;
  std::string text;          // its static texts, joined by '\n'
  std::vector<int> buttons;  // ids of its buttons, in child order
  // The system icon it shows: "information", "question", "warning",
  // "error", or "" for none.
  std::string icon;
  bool centred = false;   // its middle is its owner's, as far as the screen allows
  int focus = 0;          // id of the control with the keyboard focus; 0: none
  bool answered = false;  // false: no answer was queued, it was cancelled
};

// While alive, each top-level dialog window that activates on this thread
// is handed to the next queued answer once its modal loop runs; with none
// queued it is cancelled. A window answered once is not answered again when
// it is reactivated (after a nested box closes).
class ModalAnswerer {
 public:
  using Answer = std::function<void(HWND)>;

  ModalAnswerer();
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  // The answer must end the window, e.g. with PressButton.
  void Push(Answer answer);
  // Queues pressing button `id`.
  void Press(int id);

  const std::vector<ModalWindow>& Seen() const { return m_seen; }
  int Pending() const { return static_cast<int>(m_answers.size()); }
  void ClearSeen() { m_seen.clear(); }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void AnswerWaiting();

  HHOOK m_hook = nullptr;
  std::deque<Answer> m_answers;
  std::vector<HWND> m_handled;  // alive and answered (or being answered)
  std::vector<HWND> m_waiting;  // activated, answer not yet run
  std::vector<ModalWindow> m_seen;
};

// Posts a click of button `id` to a dialog or message box.
void PressButton(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
std::string ItemText(HWND dialog, int id);
// Types `path` into a common open/save dialog's file name field and presses OK.
void AnswerFileDialog(HWND dialog, const std::string& path);

}  // namespace WindowTest
