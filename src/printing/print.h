// The page facility, print fonts and the three printouts.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Page facility over the platform's page device (P.printer). With no device
// every drawing does nothing and TextSize gives 0 by 0. tag names the job's
// PDF: JobTag("handrecords") and so on.
void OpenJob(const std::string& tag);
void SetScale(float x1, float y1, float x2, float y2);
int32_t MakeFont(const std::string& face, float points, int style);
void SetFont(int32_t handle);
void SetColor(int red, int green, int blue);
void SetPenWidth(int pixels);
void MoveTo(double x, double y);
void DrawText(const std::string& text);
void NewLine();
void TextSize(const std::string& text, double& width, double& height);
void LineTo(double x, double y);
void RoundBox(double x1, double y1, double x2, double y2, int rounding);
void EndPage();
// complete is false when the printout stops before its last page. What
// became of the job goes back to the caller (SayWhereItWent shows it).
JobResult CloseJob(bool complete = true);

void CreatePrintFonts();
// The club and event name fonts again, after the settings changed them.
void CreateNameFonts();

// Faces of PrintFonts.
constexpr int SuitFace = 1, ArialFace = 2, CourierFace = 3, TimesFace = 4, ClubFace = 5,
              EventFace = 6;

// Selects PrintFonts(face, points, style).
void UseFont(int face, int points, int style = 0);
// Width of a text in the current font, in page units.
double TextWidth(const std::string& text);
// Line from (x1, y1) to (x2, y2).
void DrawLine(double x1, double y1, double x2, double y2);
// Text with its top-left corner at (x, y).
void DrawTextAt(double x, double y, const std::string& text);
// The game's code as the printouts show it: the control number, or
// "Deal key " and the key of a private game.
std::string GameCodePrinted();
// One suit of a hand from (x, y), card by card with gap between them, or
// voidMark when the seat holds none.
void DrawHolding(int board, int seat, int suit, double x, double y, double gap, const std::string& voidMark);
// Print colours of the suits (0 spades .. 3 clubs) and black.
void SetSuitColor(int suit);
void SetBlack();

// Where a printout went, as row 22 says it: "Sent to <printer>; kept
// <file>", "Saved <file>", or "" when there is nothing to say (no printer
// and no file).
std::string PrintNote(const JobResult& result);
// Two jobs' notes of one printout (a sheet's two sides) in one line: where
// both went, the second file by what sets its name apart.
std::string JoinPrintNotes(const std::string& first, const std::string& second);

// What the paper "auto" comes to and why: "auto: A4, the printer's paper".
std::string AutoPaperText(const PaperChoice& choice);
// The console side the three printouts share. A failed job (file not
// written, printer refused it) said on row 22 at once; else where it went,
// for the printing options to say.
void SayWhereItWent(const JobResult& result);
// The paper of the printouts, said by the first printout of a run on row
// 22 while the paper setting is auto; once.
void SayPaperOnce();
// Whether the printouts reach a printer; false when a PDF is all they make,
// and there is no paper to load.
bool PrintsOnPaper();
// Why no printout can be made now (no printer, and nothing to keep a file);
// "" when one can.
std::string WhyNoPrintout();

// The game's name for its printed files: yymmdd, the session letter, "-" and
// the printout, e.g. "150307A-dupe".
std::string JobTag(const std::string& printout);

// Pure rules of the printouts.
int HandRecordPages(int totalBoards);
// Thirteen digits "1".."4", ace to two, of the seat holding each card of a
// suit (blank where no seat does).
std::string DupeLine(const uint16_t masks[4][4], int suit);
struct DupeLayout {
    int rows;
    double rowHeight, numberY, firstLineY, lineSpacing;
};
DupeLayout DupeLayoutFor(int totalBoards);

// Printouts.
void PrintHandouts();
void PrintHandRecords();
void PrintDupeSheet();
void BuildDupeTexts();
