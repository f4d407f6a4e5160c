// Opening a document in the web browser.
#pragma once

#include <string>

// The file:// address of an absolute path.
std::string FileAddress(const std::string& absolutePath);
