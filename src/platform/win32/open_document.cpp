// Opening a document in the web browser: the command interpreter named by
// "comspec" (Windows' own without it) starts the program Windows has for it.
#include "platform/files.h"
#include "platform/platform.h"

OpenResult OpenDocument(const std::string& path) {
    std::string interpreter = GetEnvironment("comspec");
    if (interpreter.empty()) interpreter = "cmd.exe";
    return OpenDocumentWith(path, {interpreter, "/c", "start"});
}
