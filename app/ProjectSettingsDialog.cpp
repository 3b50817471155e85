#include "ProjectSettingsDialog.h"

#include "DialogValues.h"
#include "resource.h"

namespace {

// The live dialog object; the dialog procedure knows no other way to it.
CProjectSettingsDialog* g_pProjectSettingsDialog = nullptr;

INT_PTR CALLBACK ProjectSettingsDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_pProjectSettingsDialog) return FALSE;
  return g_pProjectSettingsDialog->DialogProc(hWnd, message, wParam, lParam);
}

void Check(HWND hWnd, int id, bool checked) { CheckDlgButton(hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }

bool IsChecked(HWND hWnd, int id) { return IsDlgButtonChecked(hWnd, id) == BST_CHECKED; }

}  // namespace

CProjectSettingsDialog::CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, int directiveMode)
    : m_hInstance(hInstance), m_hWndOwner(hWndOwner), m_nPathMode(pathMode), m_nDirectiveMode(directiveMode) {
  g_pProjectSettingsDialog = this;
}

CProjectSettingsDialog::~CProjectSettingsDialog() {
  // A later instance that took the pointer over keeps it.
  if (g_pProjectSettingsDialog == this) g_pProjectSettingsDialog = nullptr;
  m_hInstance = nullptr;
  m_hWnd = nullptr;
  m_hWndOwner = nullptr;
}

bool CProjectSettingsDialog::Show() {
  // The procedure would serve another live instance instead of this one.
  if (g_pProjectSettingsDialog != this) return false;
  return DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(IDD_PROJECTSETTINGS), m_hWndOwner, ProjectSettingsDialogProc,
                         0) == IDOK;
}

void CProjectSettingsDialog::GetSettings(int* pathMode, int* directiveMode) const {
  *pathMode = m_nPathMode;
  *directiveMode = m_nDirectiveMode;
}

INT_PTR CProjectSettingsDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(hWnd);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOK();
          return TRUE;
        case IDCANCEL:
          EndDialog(hWnd, IDCANCEL);
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

void CProjectSettingsDialog::OnInitDialog(HWND hWnd) {
  m_hWnd = hWnd;
  const ProjectRadios radios = RadiosForSettings(m_nPathMode, m_nDirectiveMode);
  Check(hWnd, IDC_RELATIVE_PATHS, radios.relative);
  Check(hWnd, IDC_ABSOLUTE_PATHS, radios.absolute);
  Check(hWnd, IDC_DIRECTIVES_REMOVE, radios.removeDirective);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_BEFORE, radios.commentBefore);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_AFTER, radios.commentAfter);
}

void CProjectSettingsDialog::OnOK() {
  ProjectRadios radios{};
  radios.relative = IsChecked(m_hWnd, IDC_RELATIVE_PATHS);
  radios.absolute = IsChecked(m_hWnd, IDC_ABSOLUTE_PATHS);
  radios.removeDirective = IsChecked(m_hWnd, IDC_DIRECTIVES_REMOVE);
  radios.commentBefore = IsChecked(m_hWnd, IDC_DIRECTIVES_COMMENT_BEFORE);
  radios.commentAfter = IsChecked(m_hWnd, IDC_DIRECTIVES_COMMENT_AFTER);
  SettingsFromRadios(radios, &m_nPathMode, &m_nDirectiveMode);
  EndDialog(m_hWnd, IDOK);
}
