// Starting another program and waiting for it.
#include <windows.h>

#include <atomic>

#include "platform/platform.h"
#include "platform/win32/win32.h"

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char ch : arg) {
        if (ch == '\\') {
            backslashes++;
            continue;
        }
        if (ch == '"') out.append(backslashes * 2 + 1, '\\');
        else out.append(backslashes, '\\');
        backslashes = 0;
        out += ch;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

class SystemProcess : public Process {
public:
    int Run(const std::vector<std::string>& argv) override {
        if (argv.empty() || argv[0].empty()) return -1;
        std::string line;
        for (const auto& arg : argv) line += (line.empty() ? "" : " ") + Quoted(arg);
        STARTUPINFOW start{};
        start.cb = sizeof start;
        PROCESS_INFORMATION child{};
        std::wstring wide = WideFromUtf8(line);
        if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &child))
            return -1;
        // Ctrl+C meanwhile is for the other program, as system() has it.
        ChildRunning(true);
        WaitForSingleObject(child.hProcess, INFINITE);
        ChildRunning(false);
        DWORD code = 0;
        const bool got = GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        return got ? (int)code : -1;
    }
};

}  // namespace

Process* MakeSystemProcess() { return new SystemProcess; }
