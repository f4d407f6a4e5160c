// What the Windows side of the platform shares between its files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// While another program runs in our console, Ctrl+C is for it alone.
void ChildRunning(bool running);

// The folders where the suit font BRIDGE.TTF may be installed: the system
// font folder under "systemroot" and under "windir", and the per-user font
// folder of current Windows versions.
std::vector<std::string> WindowsSuitFontFolders();

// The system's sentence for an error code, without its line end and full
// stop, to follow a colon.
std::string SystemMessage(DWORD error);

// The program holds paths and commands as UTF-8 on Windows (its own names
// are ASCII; what comes from the system is turned into UTF-8 once), and
// gives every call into the system UTF-16: a folder named in any script,
// or under a profile named "Jos\u00e9", works as any other.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
