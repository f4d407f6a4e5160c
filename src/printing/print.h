// The page facility, print fonts and the three printouts.
#pragma once

#include <cstdint>
#include <string>

// Page facility over the platform's page device.
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
void CloseJob();

void CreatePrintFonts();

// Printouts.
void PrintHandouts();
void PrintHandRecords();
void PrintDupeSheet();
void BuildDupeTexts();
