// The item edit and delete commands' rules: which document item a list row
// stands for, and what the user is asked or told.
#pragma once

#include "foundation/Array.h"
#include "project/Document.h"
#include "project/Item.h"
#include "foundation/String.h"

// The icon a message box shows: the kind of message it carries.
enum class BoxIcon { kInformation, kQuestion, kError };

// A message box's text, caption, whether it offers Cancel besides OK, and
// its icon.
struct ItemMessageBox {
  const char* text;  // nullptr: no box at all
  const char* caption;
  bool okCancel;
  BoxIcon icon;
};

// Log lines for a row whose texts match no document item.
extern const char kEditNotFoundLog[];
extern const char kDeleteNotFoundLog[];

// The box shown when editing with other than one row selected.
ItemMessageBox EditSelectionBox();

// The box shown before deleting `selected` rows: a notice when none is
// selected, a question when several are, none for a single row.
ItemMessageBox DeleteQuestionBox(int selected);

// Index of the first item, in document order, whose source and destination
// equal the given texts byte for byte; -1 when none does. Rows may hold
// duplicates, so the first match is the one acted on.
int FindMatchingItem(const Core::CArray<CItem>& items, const Core::CString& source,
                     const Core::CString& destination);

// Replaces the first item matching the old texts with `item` and marks the
// document modified; false, with the document untouched, when none matches.
bool ReplaceMatchingItem(CDocument* doc, const Core::CString& source,
                         const Core::CString& destination, const CItem& item);

// Removes the first item matching the texts and marks the document
// modified; false, with the document untouched, when none matches.
bool RemoveMatchingItem(CDocument* doc, const Core::CString& source,
                        const Core::CString& destination);

// The folder an item's file is opened in: the path's own drive and
// directory, or, for a path without a drive (relative to the project),
// the project directory.
Core::CString ItemFileFolder(const Core::CString& path, const Core::CString& projectDirectory);
