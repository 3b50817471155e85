// Appending to the log's text at a cost that does not grow with the log.
#pragma once

#include "String.h"

// Appends `tail` to `text`, whose length the caller tracks in *length
// (CString's own += measures the whole text on every call, which makes a
// long conversion run slow down as its log grows). The block at least
// doubles when it is outgrown. False, with text and length unchanged, when
// the larger block cannot be had.
bool AppendTracked(Core::CString* text, int* length, const char* tail);
