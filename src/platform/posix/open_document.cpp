// Opening a document in the web browser: through the command interpreter
// named by "comspec" when there is one, else the desktop's opener.
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/platform.h"

OpenResult OpenDocument(const std::string& path) {
    OpenResult result;
    std::error_code error;
    std::filesystem::path absolute;
    if (!path.empty()) absolute = std::filesystem::absolute(path, error);
    if (path.empty() || error || !std::filesystem::is_regular_file(absolute, error)) {
        result.outcome = OpenResult::Missing;
        return result;
    }
    std::string address = FileAddress(absolute.lexically_normal().string());

    std::vector<std::string> command;
    std::string interpreter = GetEnvironment("comspec");
    if (!interpreter.empty()) {
        // The command interpreter hands the address to the web browser.
        command = {interpreter, "/c", "start", address};
    } else {
        command = {"xdg-open", address};
    }
    result.opener = command[0];
    if (P.process == nullptr) {
        result.outcome = OpenResult::NotStarted;
        return result;
    }
    // The opener may start a text browser in this very terminal.
    if (P.console) P.console->Suspend();
    result.code = P.process->Run(command);
    if (P.console) P.console->Resume();
    if (result.code < 0)
        result.outcome = OpenResult::NotStarted;
    else if (result.code != 0)
        result.outcome = OpenResult::Failed;
    return result;
}
