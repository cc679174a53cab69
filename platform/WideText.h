// The program's texts are code page 932 bytes; the wide window calls show them the same on any
// system code page. The conversion is from 932 always, never from the ANSI code page.
#pragma once

#include <string>

// The UTF-16 form of a code page 932 string; empty for null or for bytes that are not 932.
std::wstring WideFromCp932(const char* text);
