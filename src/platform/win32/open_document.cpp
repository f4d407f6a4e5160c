// Opening a document in the web browser: the command interpreter named by
// "comspec" starts the program Windows has for it.
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
    // Without "comspec", Windows' own interpreter.
    std::string interpreter = GetEnvironment("comspec");
    if (interpreter.empty()) interpreter = "cmd.exe";
    result.opener = interpreter;
    if (P.process == nullptr) {
        result.outcome = OpenResult::NotStarted;
        return result;
    }
    const std::string address = FileAddress(absolute.lexically_normal().string());
    if (P.console) P.console->Suspend();
    result.code = P.process->Run({interpreter, "/c", "start", address});
    if (P.console) P.console->Resume();
    if (result.code < 0)
        result.outcome = OpenResult::NotStarted;
    else if (result.code != 0)
        result.outcome = OpenResult::Failed;
    return result;
}
