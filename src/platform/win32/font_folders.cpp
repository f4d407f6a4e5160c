// Where Windows keeps installed fonts.
#include "platform/files.h"
#include "platform/win32/win32.h"

std::vector<std::string> WindowsSuitFontFolders() {
    std::vector<std::string> folders;
    for (const char* variable : {"systemroot", "windir"}) {
        const std::string root = GetEnvironment(variable);
        if (!root.empty()) folders.push_back(root + "\\fonts");
    }
    // Fonts installed "for me only" (Windows 10 1809 and later).
    const std::string local = GetEnvironment("LOCALAPPDATA");
    if (!local.empty()) folders.push_back(local + "\\Microsoft\\Windows\\Fonts");
    return folders;
}
