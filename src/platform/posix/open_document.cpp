// Opening a document in the web browser: the desktop's opener.
#include "platform/platform.h"

OpenResult OpenDocument(const std::string& path) { return OpenDocumentWith(path, {"xdg-open"}); }
