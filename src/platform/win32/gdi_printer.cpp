// The page device of Windows: each job goes to the default printer through
// GDI and the spooler as the document "Print Job". Page units map onto the
// printable area (HORZRES x VERTRES), whose top-left corner is the device
// origin of a printer DC.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winspool.h>   // left out of windows.h by WIN32_LEAN_AND_MEAN
// windows.h turns DrawText into DrawTextA/W, which would rename the page
// device's method in this file only.
#undef DrawText

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "platform/cp437.h"
#include "platform/platform.h"
#include "platform/win32/gdi_printer.h"

namespace {

// Printed text is code page 437, like the screen; GDI gets it as Unicode so
// accented names print right whatever the ANSI code page. Control codes
// print as blanks.
std::wstring PrintText(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char ch : text)
        out += (ch < 32 || ch == 127) ? L' ' : Cp437Glyph(ch);
    return out;
}

class GdiPrinter : public PageDevice {
public:
    ~GdiPrinter() override {
        if (dc_) {
            AbortDoc(dc_);
            Release();
        }
        for (auto& entry : fonts_) DeleteObject(entry.second.handle);
    }

    void OpenJob(const std::string& /*tag*/) override {
        if (dc_) CloseJob(true);
        failure_.clear();
        std::wstring name = DefaultPrinter();
        if (name.empty()) return;   // no printer: nothing to print, nothing to say
        dc_ = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
        if (!dc_) {
            failure_ = "Not printed: cannot open the printer " + Narrow(name);
            return;
        }
        DOCINFOW doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = L"Print Job";
        if (StartDocW(dc_, &doc) <= 0) {
            failure_ = "Not printed: the printer " + Narrow(name) + " refused the job";
            DeleteDC(dc_);
            dc_ = nullptr;
            return;
        }
        printer_ = name;
        width_ = GetDeviceCaps(dc_, HORZRES);
        height_ = GetDeviceCaps(dc_, VERTRES);
        dpiY_ = GetDeviceCaps(dc_, LOGPIXELSY);
        scale_ = PageScale();
        curX_ = curY_ = 0;
        color_ = RGB(0, 0, 0);
        penWidth_ = 1;
        font_ = nullptr;
        pen_ = nullptr;
        pageOpen_ = false;
        pages_ = 0;
        pageFailed_ = false;
    }

    void SetScale(float x1, float y1, float x2, float y2) override {
        if (dc_) scale_.Set(x1, y1, x2, y2);
    }

    void SetFont(const FontDesc& desc) override {
        if (!dc_) return;
        font_ = Realise(desc);
        SelectObject(dc_, font_->handle);
    }

    void SetColor(int red, int green, int blue) override {
        color_ = RGB(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
        if (dc_) SetTextColor(dc_, color_);
    }

    void SetPenWidth(int pixels) override { penWidth_ = std::max(pixels, 1); }

    void MoveTo(double x, double y) override {
        curX_ = DevX(x);
        curY_ = DevY(y);
    }

    void DrawText(const std::string& text) override {
        if (!dc_ || text.empty() || !font_) return;
        BeginPage();
        std::wstring wide = PrintText(text);
        TextOutW(dc_, curX_, curY_, wide.c_str(), (int)wide.size());
        curX_ += Extent(wide).cx;
    }

    void NewLine() override {
        curX_ = DevX(0);
        if (font_) curY_ += font_->lineHeight;
    }

    void TextSize(const std::string& text, double& width, double& height) override {
        width = height = 0;
        if (!dc_ || !font_) return;
        SIZE size = Extent(PrintText(text));
        width = size.cx / scale_.PixelsPerUnitX(width_);
        height = font_->height / scale_.PixelsPerUnitY(height_);
    }

    void LineTo(double x, double y) override {
        int toX = DevX(x), toY = DevY(y);
        if (dc_) {
            BeginPage();
            UsePen();
            MoveToEx(dc_, curX_, curY_, nullptr);
            ::LineTo(dc_, toX, toY);
        }
        curX_ = toX;
        curY_ = toY;
    }

    void RoundBox(double x1, double y1, double x2, double y2, int rounding) override {
        if (!dc_) return;
        BeginPage();
        UsePen();
        int left = DevX(std::min(x1, x2)), right = DevX(std::max(x1, x2));
        int top = DevY(std::min(y1, y2)), bottom = DevY(std::max(y1, y2));
        int shorter = std::min(right - left, bottom - top);
        int diameter = (int)std::lround(shorter * std::clamp(rounding, 0, 100) / 100.0);
        HGDIOBJ brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
        // GDI leaves out the right and bottom edges; the box is to reach them.
        RoundRect(dc_, left, top, right + 1, bottom + 1, diameter, diameter);
        SelectObject(dc_, brush);
    }

    void EndPage() override {
        if (!dc_) return;
        FinishPage();
        curX_ = DevX(0);
        curY_ = DevY(0);
    }

    JobResult CloseJob(bool /*complete*/) override {
        // A job cut short still prints the pages it finished. No printer at
        // all gives the default outcome (KeptOnly, no file): there is no PDF
        // on Windows, and the user is told nothing.
        if (!dc_) {
            JobResult result;
            if (!failure_.empty()) result = {JobResult::Failed, failure_};
            failure_.clear();
            return result;
        }
        FinishPage();
        JobResult result{JobResult::Printed, ""};
        if (pages_ == 0) {
            AbortDoc(dc_);   // nothing drawn: no empty job for the spooler
            result = {};
        } else if (pageFailed_ || ::EndDoc(dc_) <= 0) {
            AbortDoc(dc_);
            result = {JobResult::Failed,
                      "Not printed: the printer " + Narrow(printer_) + " did not take the job"};
        }
        Release();
        return result;
    }

private:
    struct Font {
        HFONT handle = nullptr;
        int height = 0;       // character cell height in device pixels
        int lineHeight = 0;   // cell height plus external leading
    };

    static std::wstring DefaultPrinter() {
        DWORD size = 0;
        GetDefaultPrinterW(nullptr, &size);
        if (size == 0) return L"";
        std::wstring name(size, L'\0');
        if (!GetDefaultPrinterW(name.data(), &size)) return L"";
        name.resize(wcsnlen(name.c_str(), name.size()));
        return name;
    }

    static std::string Narrow(const std::wstring& text) {
        // The warning goes to the code page 437 console: ASCII as it is,
        // anything else as "?".
        std::string out;
        for (wchar_t ch : text) {
            int code = ch < 128 ? ch : Cp437FromUnicode(ch);
            out += code > 0 ? (char)code : '?';
        }
        return out;
    }

    int DevX(double x) const { return width_ ? (int)std::lround(scale_.DevX(x, width_)) : 0; }
    int DevY(double y) const { return height_ ? (int)std::lround(scale_.DevY(y, height_)) : 0; }

    SIZE Extent(const std::wstring& text) {
        SIZE size{0, 0};
        if (!text.empty()) GetTextExtentPoint32W(dc_, text.c_str(), (int)text.size(), &size);
        return size;
    }

    // Fonts are made the first time they are used and kept for the run; the
    // height depends on the printer's resolution, so another printer with
    // another resolution gets its own.
    const Font* Realise(const FontDesc& desc) {
        int bold = desc.style & 1;
        auto key = std::make_tuple(desc.face, desc.points, bold, dpiY_);
        auto found = fonts_.find(key);
        if (found != fonts_.end()) return &found->second;
        std::wstring face;
        for (unsigned char ch : desc.face.substr(0, LF_FACESIZE - 1)) face += Cp437Glyph(ch);
        Font font;
        font.handle = CreateFontW(-(int)std::lround(desc.points * dpiY_ / 72.0), 0, 0, 0,
                                  bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str());
        HGDIOBJ old = SelectObject(dc_, font.handle);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        SelectObject(dc_, old);
        font.height = metrics.tmHeight;
        font.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        return &(fonts_[key] = font);
    }

    void UsePen() {
        if (pen_ && penColor_ == color_ && penDrawn_ == penWidth_) return;
        HPEN pen = CreatePen(PS_SOLID, penWidth_, color_);
        SelectObject(dc_, pen);
        if (pen_) DeleteObject(pen_);
        pen_ = pen;
        penColor_ = color_;
        penDrawn_ = penWidth_;
    }

    void BeginPage() {
        if (pageOpen_) return;
        if (StartPage(dc_) <= 0) pageFailed_ = true;
        pageOpen_ = true;
        // Some drivers reset the DC at a new page: set it up again.
        SetMapMode(dc_, MM_TEXT);
        SetBkMode(dc_, TRANSPARENT);
        SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        SetTextColor(dc_, color_);
        if (font_) SelectObject(dc_, font_->handle);
        if (pen_) SelectObject(dc_, pen_);
    }

    void FinishPage() {
        if (!pageOpen_) return;
        if (::EndPage(dc_) <= 0) pageFailed_ = true;
        pageOpen_ = false;
        pages_++;
    }

    void Release() {
        // Stock objects back in before the DC and our pen go.
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        DeleteDC(dc_);
        dc_ = nullptr;
        if (pen_) DeleteObject(pen_);
        pen_ = nullptr;
        font_ = nullptr;
        width_ = height_ = 0;
    }

    HDC dc_ = nullptr;
    std::wstring printer_;
    std::string failure_;   // why the last OpenJob left no job, for CloseJob
    int width_ = 0, height_ = 0, dpiY_ = 0;
    PageScale scale_;
    int curX_ = 0, curY_ = 0;
    COLORREF color_ = 0, penColor_ = 0;
    int penWidth_ = 1, penDrawn_ = 0;
    HPEN pen_ = nullptr;
    const Font* font_ = nullptr;
    bool pageOpen_ = false, pageFailed_ = false;
    int pages_ = 0;
    std::map<std::tuple<std::string, double, int, int>, Font> fonts_;
};

}  // namespace

PageDevice* MakeGdiPrinter() { return new GdiPrinter(); }
