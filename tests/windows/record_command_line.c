/* A stand-in for the command interpreter that opens documents (COMSPEC):
   writes the command line it was started with, in UTF-8, to the file that
   KELMO_RECORD names, and ends with 0, as "cmd /c start" does. */
#include <windows.h>

int main(void) {
    wchar_t path[1024];
    char line[16384];
    DWORD wrote = 0;
    if (!GetEnvironmentVariableW(L"KELMO_RECORD", path, 1024)) return 1;
    const int n = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line, NULL, NULL);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (n <= 0 || file == INVALID_HANDLE_VALUE) return 1;
    WriteFile(file, line, (DWORD)(n - 1), &wrote, NULL);
    CloseHandle(file);
    return 0;
}
