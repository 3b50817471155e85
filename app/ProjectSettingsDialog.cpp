#include "app/ProjectSettingsDialog.h"

#include "app/core/DialogValues.h"

namespace {

void Check(HWND hWnd, int id, bool checked) {
  CheckDlgButton(hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND hWnd, int id) { return IsDlgButtonChecked(hWnd, id) == BST_CHECKED; }

}  // namespace

CProjectSettingsDialog::CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode,
                                               int directiveMode, int sourceCodePage)
    : CModalDialog(hInstance, hWndOwner),
      m_nPathMode(pathMode),
      m_nDirectiveMode(directiveMode),
      m_nSourceCodePage(sourceCodePage) {}

void CProjectSettingsDialog::GetSettings(int* pathMode, int* directiveMode,
                                         int* sourceCodePage) const {
  *pathMode = m_nPathMode;
  *directiveMode = m_nDirectiveMode;
  *sourceCodePage = m_nSourceCodePage;
}

int CProjectSettingsDialog::OnInitDialog(HWND hWnd) {
  const ProjectRadios radios = RadiosForSettings(m_nPathMode, m_nDirectiveMode, m_nSourceCodePage);
  Check(hWnd, IDC_RELATIVE_PATHS, radios.relative);
  Check(hWnd, IDC_ABSOLUTE_PATHS, radios.absolute);
  Check(hWnd, IDC_DIRECTIVES_REMOVE, radios.removeDirective);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_BEFORE, radios.commentBefore);
  Check(hWnd, IDC_DIRECTIVES_COMMENT_AFTER, radios.commentAfter);
  Check(hWnd, IDC_SOURCE_CP932, radios.sourceCp932);
  Check(hWnd, IDC_SOURCE_UTF8, radios.sourceUtf8);
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
  radios.sourceCp932 = IsChecked(m_hWnd, IDC_SOURCE_CP932);
  radios.sourceUtf8 = IsChecked(m_hWnd, IDC_SOURCE_UTF8);
  SettingsFromRadios(radios, &m_nPathMode, &m_nDirectiveMode, &m_nSourceCodePage);
  EndDialog(m_hWnd, IDOK);
}
