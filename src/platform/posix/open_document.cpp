// Opening a document in the web browser: through the command interpreter
// named by "comspec" when there is one, else the desktop's opener.
#include "platform/files.h"
#include "platform/platform.h"

OpenResult OpenDocument(const std::string& path) {
    const std::string interpreter = GetEnvironment("comspec");
    // The command interpreter hands the address to the web browser.
    if (!interpreter.empty()) return OpenDocumentWith(path, {interpreter, "/c", "start"});
    return OpenDocumentWith(path, {"xdg-open"});
}
