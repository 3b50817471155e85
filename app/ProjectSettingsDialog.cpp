#include "app/ProjectSettingsDialog.h"

#include "app/core/DialogValues.h"

namespace {

void Check(HWND hWnd, int id, bool checked) {
  CheckDlgButton(hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND hWnd, int id) { return IsDlgButtonChecked(hWnd, id) == BST_CHECKED; }

}  // namespace

CProjectSettingsDialog::CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode,
                                               int directiveMode)
    : CModalDialog(hInstance, hWndOwner), m_nPathMode(pathMode), m_nDirectiveMode(directiveMode) {}

void CProjectSettingsDialog::GetSettings(int* pathMode, int* directiveMode) const {
  *pathMode = m_nPathMode;
  *directiveMode = m_nDirectiveMode;
}

int CProjectSettingsDialog::OnInitDialog(HWND hWnd) {
  const ProjectRadios radios = RadiosForSettings(m_nPathMode, m_nDirectiveMode);
  Check(hWnd, IDC_RELATIVE_PATHS, radios.relative);
  Check(hWnd, IDC_ABSOLUTE_PATHS, radios.absolute);
  Check(hWnd, IDC_DIRECTIVES_REMOVE, radios.removeDirective);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_BEFORE, radios.commentBefore);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_AFTER, radios.commentAfter);
  // Arrow keys move within the group from the checked button.
  return radios.relative ? IDC_RELATIVE_PATHS : IDC_ABSOLUTE_PATHS;
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
