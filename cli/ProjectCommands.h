// Helpers shared by the commands that work on a project file.
#pragma once

#include "cli/Commands.h"
#include "project/Document.h"

// Loads the project named by the command's last operand. On failure writes
// the load message to standard error and returns false.
bool LoadProject(const CommandContext& context, const Core::CString& path, CDocument* doc);

// Writes a project's failure message to standard error as the console wants it.
void ReportProjectMessage(const CommandContext& context, const CDocument& doc);
