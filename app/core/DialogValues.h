// The three settings dialogs' value rules: what they show and what their OK
// hands back, apart from the controls themselves.
#pragma once

#include "project/Item.h"
#include "foundation/String.h"

// --- Item dialog ---

// The item as the dialog shows it: both paths made absolute against the
// project directory (unchanged when the directory is empty).
CItem ItemForDialog(const Core::CString& directory, const Core::CString& source,
                    const Core::CString& destination);

// Title, OK button text and hint for the shown item; hint is nullptr when
// the template's own hint stays.
struct ItemDialogForm {
  bool edit;  // both paths given: the edits show them
  const char* title;
  const char* okText;
  const char* hint;
};
ItemDialogForm ItemDialogFormFor(const CItem& shown, int pathMode);

extern const char kItemWarningCaption[];

// OK pressed with the two edits' texts. Returns nullptr and stores the item,
// each path in the project's stored form (relative for a non-zero path
// mode), when both are filled; otherwise the warning for the first empty
// field, with *item unchanged.
const char* AcceptItem(const Core::CString& directory, int pathMode, const Core::CString& source,
                       const Core::CString& destination, CItem* item);

// --- Common settings dialog ---

constexpr int kMaxHistoryField = 9;
extern const char kHistoryRangeMessage[];
extern const char kHistoryRangeCaption[];

// The history count field read as an unsigned decimal with no validity
// test: empty text, a non-digit or an unsigned overflow reads as 0.
int ReadHistoryField(const char* text);

// True when the count may be taken (0 to 9).
bool HistoryCountAccepted(int count);

// --- Project settings dialog ---

// Check states of the seven radio buttons.
struct ProjectRadios {
  bool relative;         // 1009
  bool absolute;         // 1010
  bool removeDirective;  // 1011
  bool commentBefore;    // 1012
  bool commentAfter;     // 1013
  bool sourceCp932;      // 1021
  bool sourceUtf8;       // 1022
};

// A disposition other than 0, 1 or 2 leaves its group unchecked; a code
// page other than kSourceUtf8 checks code page 932.
ProjectRadios RadiosForSettings(int pathMode, int disposition, int codePage);

// With no disposition button checked the disposition is 2; the code page
// is kSourceUtf8 only with its button checked.
void SettingsFromRadios(const ProjectRadios& radios, int* pathMode, int* disposition,
                        int* codePage);
