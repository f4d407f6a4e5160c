// Opening a document in the web browser, once a system has named its opener.
#include <filesystem>

#include "platform/files.h"
#include "platform/platform.h"

OpenResult OpenDocumentWith(const std::string& path, const std::vector<std::string>& opener) {
    OpenResult result;
    std::error_code error;
    std::filesystem::path absolute;
    if (!path.empty()) absolute = std::filesystem::absolute(path, error);
    if (path.empty() || error || !std::filesystem::is_regular_file(absolute, error)) {
        result.outcome = OpenResult::Missing;
        return result;
    }
    result.opener = opener.empty() ? std::string() : opener[0];
    if (opener.empty() || P.process == nullptr) {
        result.outcome = OpenResult::NotStarted;
        return result;
    }
    std::vector<std::string> command = opener;
    command.push_back(FileAddress(absolute.lexically_normal().string()));
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
