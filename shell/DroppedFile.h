// The name of a dropped file as a path the ANSI file calls can open, whatever characters the
// name holds and whatever the system code page is.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>

// The ANSI form of path when every character survives the system code page; otherwise its 8.3
// short form (plain ASCII), which names the same file. Empty when neither exists.
std::string AnsiPathFor(const std::wstring& path);

// Writes the ANSI path of the first dropped file into name (bytes long), cut to the buffer when
// longer; false when there is none.
bool DroppedFileName(HDROP drop, char* name, size_t bytes);
