// Opening a document in the web browser, once a system has named its opener.
#include "platform/files.h"
#include "platform/platform.h"

OpenResult OpenDocumentWith(const std::string& path, const std::vector<std::string>& opener) {
    OpenResult result;
    // Through the platform's own calls: a path of accented letters is the
    // system's, not the C++ library's idea of one.
    const std::string absolute = path.empty() ? "" : AbsolutePath(path);
    if (absolute.empty() || !FileExists(absolute)) {
        result.outcome = OpenResult::Missing;
        return result;
    }
    result.opener = opener.empty() ? std::string() : opener[0];
    if (opener.empty() || P.process == nullptr) {
        result.outcome = OpenResult::NotStarted;
        return result;
    }
    std::vector<std::string> command = opener;
    command.push_back(FileAddress(absolute));
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
