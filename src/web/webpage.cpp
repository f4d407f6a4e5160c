#include "web/webpage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

#include "analysis/par.h"
#include "console/kit.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "printing/diagram.h"

namespace {

// The page's style: several boards a row on a desktop, one on a phone, each
// board whole on a printed page. Suits red and black on white, every text
// well above the contrast of WCAG AA; the symbols also say their names.
const char* const Style = R"(:root{color-scheme:light}
*{box-sizing:border-box}
body{margin:0 auto;padding:1rem;max-width:84rem;font:16px/1.35 "DejaVu Sans","Segoe UI",Arial,sans-serif;color:#111;background:#fff}
header{margin-bottom:1rem}
h1{font-size:1.5em;margin:0 0 .2em}
header p{margin:.1rem 0}
main{display:grid;grid-template-columns:repeat(auto-fill,minmax(19rem,1fr));gap:1rem}
.board{border:1px solid #555;border-radius:.4rem;padding:.6rem;min-width:0;break-inside:avoid}
h2{font-size:1.15em;margin:0}
.meta{margin:.1rem 0 .4rem}
.deal{display:grid;grid-template-columns:repeat(3,minmax(0,1fr));grid-template-areas:". n ." "w c e" ". s .";gap:.3rem}
.n{grid-area:n}.w{grid-area:w}.e{grid-area:e}.s{grid-area:s}
.c{grid-area:c;align-self:center;justify-self:center;border:1px solid #767676;width:3.2rem;text-align:center;font-size:.8rem;line-height:1.1;padding:.15rem}
h3{font-size:.9em;margin:0;font-weight:bold}
h3 small{font-weight:normal}
ul{list-style:none;margin:0;padding:0}
.cards{overflow-wrap:anywhere;letter-spacing:.05em}
.red{color:#b00000}
.sr{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap}
table{border-collapse:collapse;margin:.5rem 0 .3rem}
th,td{border:1px solid #767676;padding:.05rem .4rem;text-align:center}
caption{text-align:left;font-size:.9em}
.par{margin:0}
footer{margin-top:1em;font-size:.85em}
@media print{@page{size:PAPER;margin:10mm}body{padding:0;max-width:none;font-size:8.5pt}main{grid-template-columns:repeat(3,1fr);gap:3mm}.board{padding:2mm;page-break-inside:avoid}.c{display:none}th,td{padding:0 .3em}}
)";

const char* const SuitNames[4] = {"spades", "hearts", "diamonds", "clubs"};
const char* const SuitSymbols[4] = {"\u2660", "\u2665", "\u2666", "\u2663"};
const char* const Seats[4] = {"North", "East", "South", "West"};
const char* const VulWords[4] = {"Both", "None", "N-S", "E-W"};

// Code page 437 text as UTF-8, every character that could be markup
// escaped: a name is only ever text on the page.
std::string Text(const std::string& cp437) {
    std::string out;
    for (unsigned char ch : cp437) {
        if (ch == '&') out += "&amp;";
        else if (ch == '<') out += "&lt;";
        else if (ch == '>') out += "&gt;";
        else if (ch == '"') out += "&quot;";
        else if (ch == '\'') out += "&#39;";
        else if (ch < 32 || ch == 127) out += ' ';
        else AppendUtf8(out, ch < 128 ? ch : (char32_t)Cp437Glyph(ch));
    }
    return out;
}

// A suit's symbol in its colour, and its name for a screen reader.
std::string Suit(int suit) {
    return std::string("<span class=\"") + (suit == 1 || suit == 2 ? "red" : "black") + "\" aria-hidden=\"true\">" +
           SuitSymbols[suit] + "</span><span class=\"sr\">" + SuitNames[suit] + "</span>";
}

// Strains 1..5 (clubs .. notrump) of the double-dummy grid.
std::string Strain(int strain) { return strain == 5 ? "NT" : Suit(4 - strain); }

int HighCardPoints(int board, int seat) {
    int points = 0;
    for (int suit = 0; suit < 4; suit++)
        for (int rank = 0; rank < 4; rank++) points += (G.HandMasks[board][seat][suit] >> rank & 1) * (4 - rank);
    return points;
}

std::string Hand(int board, int seat) {
    static const char* const areas[4] = {"n", "e", "s", "w"};
    std::string html = std::string("<div class=\"") + areas[seat] + "\"><h3>" + Seats[seat] + " <small>" +
                       std::to_string(HighCardPoints(board, seat)) + " HCP</small></h3><ul>";
    for (int suit = 0; suit < 4; suit++) {
        html += "<li>" + Suit(suit) + " <span class=\"cards\">";
        std::string cards;
        for (int rank = 0; rank < 13; rank++)
            if (G.HandMasks[board][seat][suit] >> rank & 1) cards += RankLetters[rank];
        html += cards.empty() ? "&mdash;</span><span class=\"sr\">void" : cards;
        html += "</span></li>";
    }
    return html + "</ul></div>\n";
}

// The handouts' grid: declarers N, S, E, W, strains clubs to notrump, the
// highest level each makes.
std::string Grid(int board) {
    std::string html = "<table><caption>Makeable contracts</caption>\n<thead><tr><td></td>";
    for (int strain = 1; strain <= 5; strain++) html += "<th scope=\"col\">" + Strain(strain) + "</th>";
    html += "</tr></thead>\n<tbody>";
    for (int seat : {1, 3, 2, 4}) {
        html += std::string("<tr><th scope=\"row\">") + SeatLetters[seat - 1] + "</th>";
        for (int strain = 1; strain <= 5; strain++) {
            const int level = G.DDTricks[board][seat][strain] - 6;
            html += "<td>" + (level > 0 ? std::to_string(level) : std::string("&ndash;")) + "</td>";
        }
        html += "</tr>";
    }
    return html + "</tbody></table>\n";
}

// "Par: NS 620, 4S by N or S"; declarers of one contract together.
std::string Par(int board) {
    const ParResult par = ParOfBoardWithContracts(board, G.DDTricks[board]);
    std::string html = "<p class=\"par\">Par: <b>" + Text(par.text == "Passout" ? "passed out" : par.text) + "</b>";
    std::map<std::tuple<int, int, bool>, std::string> by;
    std::vector<std::tuple<int, int, bool>> order;
    for (const ParContract& c : par.contracts) {
        const auto key = std::make_tuple(c.level, c.strain, c.doubled);
        if (!by.count(key)) order.push_back(key);
        std::string& seats = by[key];
        seats += std::string(seats.empty() ? "" : " or ") + SeatLetters[c.seat - 1];
    }
    for (size_t i = 0; i < order.size(); i++) {
        const auto [level, strain, doubled] = order[i];
        html += std::string(i == 0 ? ", " : "; ") + std::to_string(level) + Strain(strain) + (doubled ? "X" : "") +
                " by " + by[order[i]];
    }
    return html + "</p>\n";
}

std::string Board(int board) {
    const int number = BoardNumberShown(board);
    std::string html = "<section class=\"board\" id=\"board-" + std::to_string(number) + "\">\n<h2>Board " +
                       std::to_string(number) + "</h2>\n<p class=\"meta\">Dealer " + Seats[BoardDealer(board)] +
                       ", vulnerable " + VulWords[BoardVul(board)] + "</p>\n<div class=\"deal\">\n";
    for (int seat = 0; seat < 4; seat++) html += Hand(board, seat);
    html += "<div class=\"c\" aria-hidden=\"true\">N<br>W&nbsp;&nbsp;E<br>S</div>\n</div>\n";
    return html + Grid(board) + Par(board) + "</section>\n";
}

std::string CodeLine() {
    if (G.ControlString.empty()) return "";
    return std::string("<p>") + (G.PrivateGame == 1 ? "Deal key " : "Control number ") + Text(G.ControlString) +
           "</p>\n";
}

// The paper the page is printed on: the setting's, or what auto comes to.
std::string PaperOfPrint() {
    Paper paper = G.PaperSize;
    if (paper == Paper::Auto) paper = P.printer ? P.printer->AutoPaper().paper : Paper::Letter;
    return paper == Paper::A4 ? "A4" : "letter";
}

}  // namespace

std::string WebPageText() {
    int boards = 0;
    for (int board = 1; board <= MaxBoards; board++) boards += BoardInGame(board);
    const std::string date = Text(G.DateText) + ", " + std::to_string(G.FullYear);
    const std::string session = G.SessionNumber >= 1 && G.SessionNumber <= 4 ? G.SessionName[G.SessionNumber] : "";
    std::string style = Style;
    style.replace(style.find("PAPER"), 5, PaperOfPrint());
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
                       "'unsafe-inline'\">\n<meta name=\"generator\" content=\"Kelmo\">\n"
                       "<meta name=\"kelmo-game\" content=\"" +
                       Text(G.ControlString) + "\">\n<title>" + Text(G.ClubName) + ", " + Text(G.EventName) + ", " +
                       date + "</title>\n<style>\n" + style + "</style>\n</head>\n<body>\n<header>\n<h1>" +
                       Text(G.ClubName) + "</h1>\n<p>" + Text(G.EventName) + "</p>\n<p>" + date + ", " + session +
                       ", " + std::to_string(boards) + " boards</p>\n" + CodeLine() + "</header>\n<main>\n";
    for (int board = 1; board <= MaxBoards; board++)
        if (BoardInGame(board)) html += Board(board);
    // The handouts' credits, their gaps as the page's separators.
    std::string credits, text = Trim(CreditsText(LayoutForBoards(G.TotalBoards).boards));
    for (size_t at = 0; at < text.size();) {
        const size_t gap = text.find("    ", at);
        credits += (credits.empty() ? "" : " &middot; ") + Text(text.substr(at, gap - at));
        at = gap == std::string::npos ? text.size() : text.find_first_not_of(' ', gap);
    }
    return html + "</main>\n<footer>\n<p>" + credits + "</p>\n</footer>\n</body>\n</html>\n";
}

bool WebPageIsOfGame(const std::string& path, const std::string& controlString) {
    std::string bytes;
    if (controlString.empty() || !ReadWholeFile(path, bytes, PbnFileLimit)) return false;
    return bytes.substr(0, 4096).find("<meta name=\"kelmo-game\" content=\"" + Text(controlString) + "\">") !=
           std::string::npos;
}

std::string WriteWebPage(WebPagePlace place) {
    std::string path = GameFilePath(".html");
    if (place == WebPagePlace::BesideOthers) path = NameOfThisGamesFile(path, WebPageIsOfGame);
    else if (!KeepAnotherGamesFile(path, WebPageIsOfGame, "Web page")) return "";
    if (WriteFileAtomic(path, WebPageText())) return path;
    ShowWarning(FitWarning(WriteFailureText("Cannot write the web page", path)));
    return "";
}
