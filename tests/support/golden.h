// Golden screens: the scripted console's whole 80x25 screen, text and
// colours, compared with a reviewed file tests/golden/screens/<name>.txt.
// KELMO_UPDATE_GOLDEN=1 rewrites each file that differs and fails its check
// with the file's name, so an update run lists what to review.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/doubles.h"

// The screen as a golden file holds it: 25 framed rows of text (code page
// 437 shown as UTF-8), then 25 of foreground and 25 of background colours,
// a hex digit per cell.
std::string GoldenScreenText(const ScriptedConsole& c);

// Use as EXPECT_TRUE(MatchesGolden(console, "name")); a mismatch shows every
// row that differs, a caret under each cell that differs.
::testing::AssertionResult MatchesGolden(const ScriptedConsole& c, const std::string& name);

// Any other golden file, tests/golden/<name>: the same bytes on every
// system (a PBN file, a web page).
::testing::AssertionResult MatchesGoldenFile(const std::string& actual, const std::string& name);

// The golden name of a screen that shows a path, which each system writes
// its own way: "<name>-windows" on Windows.
inline std::string SystemGolden(const std::string& name) {
#ifdef _WIN32
    return name + "-windows";
#else
    return name;
#endif
}
