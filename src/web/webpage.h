// The game as one web page, for the club's site and the players' phones
// after the game: every board's hands, high-card points, double-dummy grid
// and par. One UTF-8 file with its style inside: no script, nothing it
// fetches, every name escaped.
#pragma once

#include <string>

// The page's bytes.
std::string WebPageText();
// Whether the file is the web page of the game with this control number
// or deal key.
bool WebPageIsOfGame(const std::string& path, const std::string& controlString);
// Writes the page beside the game's PBN file, named like it with .html, by
// the rule of the PBN file it goes with: a new game's takes its own name
// (another game's page there kept as -2...), one saved from the printing
// options the first free or own name. The path, or "" when it could not be
// written (row 22 said why).
enum class WebPagePlace { OwnName, BesideOthers };
std::string WriteWebPage(WebPagePlace place);
