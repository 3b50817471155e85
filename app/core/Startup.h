// The entry point's command-line rule and the document it starts with.
#pragma once

#include "project/Document.h"
#include "foundation/String.h"

// Strips one leading and one trailing double quote; a text shorter than two
// bytes (or none) counts as empty. Blanks are kept and nothing is split.
Core::CString ApplyCommandLineRule(const char* commandLine);

// Loads the project named by `path` into `doc` (constructed from that path:
// path mode 0, disposition 1). An empty or unloadable path leaves an
// untitled project; the load's failure text stays in m_strMessage.
void LoadStartupDocument(const Core::CString& path, CDocument* doc);
