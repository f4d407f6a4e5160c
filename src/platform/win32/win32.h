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
