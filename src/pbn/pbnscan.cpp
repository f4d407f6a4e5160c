// Reading PBN text as other programs write it. The standard's import rules:
// tags anywhere on a line and several to a line, blanks inside the
// brackets, "%" lines, "{...}" and ";" comments, the sections after the
// tags (auction, play, tables) passed over, "#" values inherited from the
// game before. A game ends at an empty line, or where a second [Board] or
// [Deal] shows that a file left the empty line out.
#include "pbn/pbnscan.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "dealing/deal.h"
#include "model/text.h"
#include "platform/cp437.h"

namespace {

// The tags the program reads; others are passed over.
enum Tag { EventTag, SiteTag, DateTag, BoardTag, DealerTag, VulnerableTag, DealTag, ScoreTag, TricksTag, TagCount };
const char* const TagNames[TagCount] = {"Event",  "Site", "Date",         "Board",            "Dealer",
                                        "Vulnerable", "Deal", "OptimumScore", "DoubleDummyTricks"};

struct Record {
    std::string value[TagCount];
    bool has[TagCount] = {};
    int line[TagCount] = {};
    int firstLine = 0;
    bool any = false;
};

bool Blank(char ch) { return ch == ' ' || ch == '\t'; }
bool NameChar(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
}

// A [Board] value as a number; 0 when it is none.
int BoardNumberOf(const std::string& value) {
    if (value.empty() || value.size() > 4) return 0;
    for (char ch : value)
        if (ch < '0' || ch > '9') return 0;
    return std::atoi(value.c_str());
}

class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    PbnFileFound Scan() {
        size_t at = 0;
        int number = 0;
        while (at < text_.size()) {
            size_t end = text_.find_first_of("\r\n", at);
            if (end == std::string::npos) end = text_.size();
            Line(++number, at, end);
            // CR LF, LF or CR ends a line.
            at = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
        Finish();
        NumberBoards();
        return std::move(found_);
    }

private:
    void Line(int number, size_t from, size_t end) {
        size_t at = from;
        if (!inBrace_) {
            if (text_[at] == '%') {
                Mark(text_.substr(from, end - from));
                return;
            }
            while (at < end && Blank(text_[at])) at++;
            if (at == end) {   // an empty line ends the game
                Finish();
                return;
            }
        }
        while (at < end) {
            const char ch = text_[at];
            if (inBrace_) {
                const size_t close = text_.find('}', at);
                if (close == std::string::npos || close >= end) return;
                inBrace_ = false;
                at = close + 1;
            } else if (Blank(ch)) {
                at++;
            } else if (ch == ';') {
                return;
            } else if (ch == '{') {
                inBrace_ = true;
                at++;
            } else if (ch == '[') {
                at = TagAt(number, at, end);
            } else {
                // Section data: calls, cards, table rows.
                while (at < end && !Blank(text_[at]) && text_[at] != '[' && text_[at] != '{' && text_[at] != ';') at++;
            }
        }
    }

    void Mark(const std::string& line) {
        if (line.rfind(PbnCreatedMark, 0) == 0) found_.createdHere = true;
        for (const std::string* mark : {&PbnControlMark, &PbnDealKeyMark})
            if (line.rfind(*mark, 0) == 0 && !controlSeen_) {
                controlSeen_ = true;
                found_.controlWritten = TrimTrailing(line.substr(mark->size()));
            }
    }

    // One tag from its "["; returns where reading goes on.
    size_t TagAt(int number, size_t at, size_t end) {
        at++;
        while (at < end && Blank(text_[at])) at++;
        const size_t nameFrom = at;
        while (at < end && NameChar(text_[at])) at++;
        const std::string name = text_.substr(nameFrom, at - nameFrom);
        while (at < end && Blank(text_[at])) at++;
        if (at >= end || text_[at] != '"') return at;
        // The value, its escapes undone; without a closing quote it runs to
        // the end of the line.
        std::string value;
        for (at++; at < end && text_[at] != '"'; at++) {
            char ch = text_[at];
            if (ch == '\\' && at + 1 < end && (text_[at + 1] == '"' || text_[at + 1] == '\\')) ch = text_[++at];
            value += ch;
        }
        if (at < end) at++;
        while (at < end && Blank(text_[at])) at++;
        if (at < end && text_[at] == ']') at++;
        int tag = 0;
        while (tag < TagCount && name != TagNames[tag]) tag++;
        if (tag == TagCount) {
            if (!record_.any) record_.firstLine = number;
            record_.any = true;
            return at;
        }
        // A second board or deal: the file left out the empty line.
        if ((tag == BoardTag || tag == DealTag) && record_.has[tag]) Finish();
        if (record_.has[tag]) return at;   // a tag given twice: the first counts
        if (!record_.any) record_.firstLine = number;
        record_.any = true;
        record_.has[tag] = true;
        record_.value[tag] = value;
        record_.line[tag] = number;
        return at;
    }

    // The record read so far, as a board of a game.
    void Finish() {
        if (!record_.any) return;
        Record r = std::move(record_);
        record_ = Record{};
        for (int tag = 0; tag < TagCount; tag++) {
            if (!r.has[tag]) continue;
            std::string& value = r.value[tag];
            // "#" is the game before's value; "##" begins with it.
            if (value == "#") value = previous_[tag];
            else if (value.rfind("##", 0) == 0) value = previous_[tag] + value.substr(2);
            previous_[tag] = value;
        }
        if (!r.has[BoardTag] && !r.has[DealTag]) return;   // a header or a note only

        PbnBoardFound board;
        board.tagNumber = r.has[BoardTag] ? BoardNumberOf(r.value[BoardTag]) : 0;
        board.line = r.firstLine;
        board.dealLine = r.line[DealTag] ? r.line[DealTag] : r.firstLine;
        board.tricksLine = r.line[TricksTag];
        board.hasDeal = r.has[DealTag];
        board.deal = AsciiUpper(r.value[DealTag]);
        board.dealer = r.value[DealerTag];
        board.vulnerable = r.value[VulnerableTag];
        board.hasScore = r.has[ScoreTag];
        board.score = r.value[ScoreTag];
        board.hasTricks = r.has[TricksTag];
        board.tricks = r.value[TricksTag];

        // Another game begins at a board number the game has (unless the
        // board is repeated with its deal, or without one), another Event
        // or Date, or a 37th board.
        PbnGameFound* game = found_.games.empty() ? nullptr : &found_.games.back();
        if (game && board.tagNumber > 0 && numbers_.count(board.tagNumber)) {
            const PbnBoardFound* first = nullptr;
            for (const PbnBoardFound& b : game->boards)
                if (b.tagNumber == board.tagNumber) first = &b;
            if (first && (!board.hasDeal || TrimTrailing(board.deal) == TrimTrailing(first->deal))) return;
        }
        const bool again = game && board.tagNumber > 0 && numbers_.count(board.tagNumber);
        const bool otherEvent = game && r.has[EventTag] && (!game->hasEvent || r.value[EventTag] != game->event);
        const bool otherDate = game && r.has[DateTag] && (!game->hasDate || r.value[DateTag] != game->date);
        if (!game || again || otherEvent || otherDate || game->boards.size() >= 36) {
            found_.games.emplace_back();
            game = &found_.games.back();
            numbers_.clear();
            game->line = r.firstLine;
            for (int tag : {EventTag, SiteTag, DateTag}) {
                // Its own tags only: a game that names no event is not
                // another game's ("#" is its own tag taking the last value).
                (tag == EventTag ? game->hasEvent : tag == SiteTag ? game->hasSite : game->hasDate) = r.has[tag];
                if (r.has[tag]) (tag == EventTag ? game->event : tag == SiteTag ? game->site : game->date) = r.value[tag];
            }
        }
        if (board.tagNumber > 0) numbers_.insert(board.tagNumber);
        game->boards.push_back(std::move(board));
    }

    // Boards go under their [Board] numbers when every board has one from 1
    // to 36 (each is once in a game); else in file order.
    void NumberBoards() {
        for (PbnGameFound& game : found_.games) {
            const bool tagged = std::all_of(game.boards.begin(), game.boards.end(), [](const PbnBoardFound& b) {
                return b.tagNumber >= 1 && b.tagNumber <= 36;
            });
            int position = 0;
            for (PbnBoardFound& board : game.boards) {
                board.number = tagged ? board.tagNumber : ++position;
                // The file's own number where two figures show it.
                if (!tagged && board.tagNumber >= 1 && board.tagNumber <= 99) board.label = board.tagNumber;
                if (board.tagNumber > 99) game.renumbered = true;
                game.highest = std::max(game.highest, board.number);
            }
        }
    }

    const std::string& text_;
    PbnFileFound found_;
    Record record_;
    std::string previous_[TagCount];
    std::set<int> numbers_;   // the board numbers of the game being read
    bool inBrace_ = false, controlSeen_ = false;
};

}  // namespace

std::string PbnTextFromBytes(const std::string& bytes) { return Cp437FromTextFile(bytes, true); }

PbnFileFound ScanPbnText(const std::string& text) { return Scanner(text).Scan(); }

std::string DealFaultWords(const std::string& deal) {
    static const char* const seats[4] = {"North", "East", "South", "West"};
    static const char* const ranks[13] = {"ace",  "king",  "queen", "jack", "ten",   "nine", "eight",
                                          "seven", "six", "five",  "four", "three", "two"};
    static const char* const suits[4] = {"spades", "hearts", "diamonds", "clubs"};
    const std::string trimmed = TrimTrailing(deal);
    if (trimmed.size() <= 2) return "no cards";
    const DealReading reading = ReadDealText(trimmed);
    switch (reading.stop) {
    case DealReading::NoStart: return "it does not begin with N:, E:, S: or W:";
    case DealReading::FifthSuit: return std::string(seats[reading.seat]) + "'s hand has more than four suits";
    case DealReading::FifthHand: return "it has more than four hands";
    case DealReading::NotGiven: return "not every hand is given";
    case DealReading::BadCharacter: return "it holds the character \"" + std::string(1, reading.character) + "\"";
    case DealReading::Whole: break;
    }
    // Here a card named twice counts twice: the hand it is in has too many.
    int count[4] = {};
    for (int s = 0; s < 4; s++)
        for (const auto& suit : reading.named[s])
            for (int times : suit) count[s] += times;
    if (count[0] + count[1] + count[2] + count[3] == 0) return "no cards";
    for (int s = 0; s < 4; s++)
        if (count[s] != 13) return std::string(seats[s]) + " holds " + std::to_string(count[s]) + " cards";
    for (int t = 0; t < 4; t++)
        for (int r = 0; r < 13; r++)
            if (reading.named[0][t][r] + reading.named[1][t][r] + reading.named[2][t][r] + reading.named[3][t][r] > 1)
                return std::string("the ") + ranks[r] + " of " + suits[t] + " is held twice";
    return "";
}

std::string PbnVulnerabilityName(const std::string& value) {
    std::string name = AsciiUpper(value);
    if (name == "LOVE" || name == "-") return "NONE";
    if (name == "BOTH") return "ALL";
    return name;
}
