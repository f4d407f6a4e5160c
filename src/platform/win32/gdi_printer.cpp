// The page device of Windows: each job goes to the default printer through
// GDI and the spooler as the document "Print Job", or, when that printer
// makes files or there is none, to a PDF in PRINTS. Page units map onto the
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
#include "platform/files.h"
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

std::string Narrow(const std::wstring& text) {
    // For the code page 437 console: ASCII as it is, anything else as "?".
    std::string out;
    for (wchar_t ch : text) {
        int code = ch < 128 ? ch : Cp437FromUnicode(ch);
        out += code > 0 ? (char)code : '?';
    }
    return out;
}

std::wstring Wide(const std::string& text) {
    std::wstring out;
    for (unsigned char ch : text) out += Cp437Glyph(ch);
    return out;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& ch : text)
        if (ch >= L'A' && ch <= L'Z') ch = ch - L'A' + L'a';
    return text;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
    return Lower(text).find(part) != std::wstring::npos;
}

bool IsPdfPrinter(const PrinterInfo& printer) { return Lower(printer.driver) == L"microsoft print to pdf"; }

// The file a file printer makes.
std::string Extension(const PrinterInfo& printer) {
    if (Contains(printer.driver, L"pdf")) return ".pdf";
    if (Contains(printer.driver, L"xps")) return ".xps";
    return ".prn";
}

// The paper a printer takes when a job does not say: DMPAPER_A4,
// DMPAPER_LETTER or another; 0 when it does not tell.
short DefaultPaper(const std::wstring& name) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle, nullptr)) return 0;
    short paper = 0;
    const LONG size = DocumentPropertiesW(nullptr, handle, const_cast<wchar_t*>(name.c_str()), nullptr, nullptr, 0);
    if (size > 0) {
        std::vector<char> settings((size_t)size);
        DEVMODEW* mode = reinterpret_cast<DEVMODEW*>(settings.data());
        if (DocumentPropertiesW(nullptr, handle, const_cast<wchar_t*>(name.c_str()), mode, nullptr, DM_OUT_BUFFER) ==
                IDOK &&
            (mode->dmFields & DM_PAPERSIZE))
            paper = mode->dmPaperSize;
    }
    ClosePrinter(handle);
    return paper;
}

class GdiPrinter : public PageDevice {
public:
    explicit GdiPrinter(std::vector<PrinterInfo> (*listPrinters)()) : listPrinters_(listPrinters) {}

    ~GdiPrinter() override {
        if (dc_) {
            AbortDoc(dc_);
            Release();
        }
        for (auto& entry : fonts_) DeleteObject(entry.second.handle);
    }

    void OpenJob(const std::string& tag) override {
        if (dc_) CloseJob(true);
        failure_.clear();
        kept_.clear();
        suitLost_ = false;
        const std::vector<PrinterInfo> printers = listPrinters_();
        bool toFile = false;
        const int chosen = ChoosePrinter(printers, toFile);
        if (chosen < 0) {
            // No printer at all: nothing to print, nothing to say. A default
            // that takes no file name (OneNote) is worth a word.
            for (const PrinterInfo& printer : printers)
                if (printer.isDefault)
                    failure_ = "Not printed: the default printer " + Narrow(printer.name) + " makes no file";
            return;
        }
        const PrinterInfo& printer = printers[chosen];
        const std::wstring& name = printer.name;
        std::wstring output;
        if (toFile) {
            // Named as the PDF device of other systems names its files; the
            // spooler writes it, so it gets the full path.
            kept_ = KeptFileName(tag, true, Extension(printer));
            output = FullPath(kept_);
            if (!MakeFolder("PRINTS") || output.empty()) {
                failure_ = WriteFailureText("Could not write the printout file", kept_);
                return;
            }
        }
        // A paper the settings force goes into the printer's own defaults
        // for this job.
        std::vector<char> settings;
        DEVMODEW* mode = nullptr;
        HANDLE handle = nullptr;
        if (paper_ != Paper::Auto && OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle, nullptr)) {
            const LONG size = DocumentPropertiesW(nullptr, handle, const_cast<wchar_t*>(name.c_str()), nullptr,
                                                  nullptr, 0);
            if (size > 0) {
                settings.resize((size_t)size);
                mode = reinterpret_cast<DEVMODEW*>(settings.data());
                if (DocumentPropertiesW(nullptr, handle, const_cast<wchar_t*>(name.c_str()), mode, nullptr,
                                        DM_OUT_BUFFER) == IDOK) {
                    mode->dmFields |= DM_PAPERSIZE;
                    mode->dmPaperSize = paper_ == Paper::A4 ? DMPAPER_A4 : DMPAPER_LETTER;
                } else {
                    mode = nullptr;
                }
            }
            ClosePrinter(handle);
        }
        dc_ = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, mode);
        if (!dc_) {
            failure_ = "Not printed: cannot open the printer " + Narrow(name);
            return;
        }
        DOCINFOW doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = L"Print Job";
        if (toFile) doc.lpszOutput = output.c_str();   // no Save As dialog
        if (StartDocW(dc_, &doc) <= 0) {
            failure_ = toFile ? "Could not write the printout file " + kept_
                              : "Not printed: the printer " + Narrow(name) + " refused the job";
            DeleteDC(dc_);
            dc_ = nullptr;
            return;
        }
        printer_ = name;
        width_ = GetDeviceCaps(dc_, HORZRES);
        height_ = GetDeviceCaps(dc_, VERTRES);
        scale_ = PageScale();
        // Device pixels to a unit (an inch on Letter): the one scale at which
        // the page fits this printer's printable area. Fonts follow it (pen
        // widths stay in device pixels), so every paper shows the Letter
        // page's text and boxes in their proportions.
        unit_ = scale_.PixelsPerUnit(width_, height_);
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

    void SetPaper(Paper paper) override { paper_ = paper; }

    PaperChoice AutoPaper() override {
        bool toFile = false;
        const std::vector<PrinterInfo> printers = listPrinters_();
        const int chosen = ChoosePrinter(printers, toFile);
        if (chosen >= 0) {
            const short paper = DefaultPaper(printers[chosen].name);
            if (paper == DMPAPER_A4) return {Paper::A4, PaperChoice::Printer};
            if (paper == DMPAPER_LETTER) return {Paper::Letter, PaperChoice::Printer};
        }
        DWORD size = 0;
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                            reinterpret_cast<LPWSTR>(&size), sizeof size / sizeof(wchar_t))) {
            if (size == DMPAPER_A4) return {Paper::A4, PaperChoice::Locale};
            if (size == DMPAPER_LETTER) return {Paper::Letter, PaperChoice::Locale};
        }
        return {};
    }

    bool HasPrinter() override {
        bool toFile = false;
        return ChoosePrinter(listPrinters_(), toFile) >= 0 && !toFile;
    }

    std::string CannotPrint() override {
        bool toFile = false;
        const std::vector<PrinterInfo> printers = listPrinters_();
        if (ChoosePrinter(printers, toFile) >= 0) return "";
        // A default that takes no file name (OneNote) is worth a word.
        for (const PrinterInfo& printer : printers)
            if (printer.isDefault) return "Not printed: the default printer " + Narrow(printer.name) + " makes no file";
        return "No printer is installed: add one in Settings, or Microsoft Print to PDF";
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
        width = size.cx / scale_.PixelsPerUnit(width_, height_);
        height = font_->height / scale_.PixelsPerUnit(width_, height_);
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
        // A job made a file is kept, as the PDF device of other systems
        // keeps its files.
        JobResult result = kept_.empty() ? JobResult{JobResult::Printed, "", Narrow(printer_)}
                                         : JobResult{JobResult::KeptOnly, kept_};
        if (pages_ == 0) {
            AbortDoc(dc_);   // nothing drawn: no empty job for the spooler
            result = {};
        } else if (pageFailed_ || ::EndDoc(dc_) <= 0) {
            AbortDoc(dc_);
            result = {JobResult::Failed,
                      kept_.empty() ? "Not printed: the printer " + Narrow(printer_) + " did not take the job"
                                    : "Could not write the printout file " + kept_};
        } else if (suitLost_) {
            // Printed, but the suits came out as letters a to d.
            result = {JobResult::Failed, "Printed without the suit font Bridge: the suits show as letters"};
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

    static std::wstring FullPath(const std::string& name) {
        std::wstring relative = Wide(ResolvePath(name));
        for (wchar_t& ch : relative)
            if (ch == L'/') ch = L'\\';
        wchar_t full[MAX_PATH];
        DWORD length = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
        return length == 0 || length >= MAX_PATH ? L"" : std::wstring(full, length);
    }

    int DevX(double x) const { return width_ ? (int)std::lround(scale_.DevX(x, width_, height_)) : 0; }
    int DevY(double y) const { return height_ ? (int)std::lround(scale_.DevY(y, width_, height_)) : 0; }

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
        auto key = std::make_tuple(desc.face, desc.points, bold, (int)std::lround(unit_));
        auto found = fonts_.find(key);
        if (found != fonts_.end()) return &found->second;
        std::wstring face = Wide(desc.face.substr(0, LF_FACESIZE - 1));
        Font font;
        font.handle = CreateFontW(-(int)std::lround(desc.points * unit_ / 72.0), 0, 0, 0,
                                  bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str());
        HGDIOBJ old = SelectObject(dc_, font.handle);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        // Any other face stands in for a missing one quietly; the suit font
        // must be the real one, or the suits print as letters.
        if (Lower(face) == L"bridge") {
            wchar_t realised[LF_FACESIZE] = L"";
            GetTextFaceW(dc_, LF_FACESIZE, realised);
            if (Lower(realised) != L"bridge") suitLost_ = true;
        }
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

    std::vector<PrinterInfo> (*listPrinters_)();
    HDC dc_ = nullptr;
    std::wstring printer_;
    std::string kept_;        // the file a job made a file goes to
    bool suitLost_ = false;   // the suit font was realised as another face
    std::string failure_;   // why the last OpenJob left no job, for CloseJob
    int width_ = 0, height_ = 0;
    double unit_ = 0;
    Paper paper_ = Paper::Auto;
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

bool IsFilePrinter(const PrinterInfo& printer) {
    const std::wstring port = Lower(printer.port);
    if (port == L"portprompt:" || port == L"file:" || port == L"nul:" || port == L"nul") return true;
    for (const wchar_t* driver : {L"pdf", L"xps", L"onenote"})
        if (Contains(printer.driver, driver)) return true;
    return false;
}

int ChoosePrinter(const std::vector<PrinterInfo>& printers, bool& toFile) {
    toFile = false;
    int fallback = -1;
    for (size_t i = 0; i < printers.size(); i++) {
        if (!printers[i].isDefault) continue;
        if (!IsFilePrinter(printers[i])) return (int)i;
        fallback = (int)i;
    }
    // No printer for paper: a PDF, kept in PRINTS.
    for (size_t i = 0; i < printers.size(); i++)
        if (IsPdfPrinter(printers[i])) {
            toFile = true;
            return (int)i;
        }
    if (fallback >= 0 && !Contains(printers[fallback].driver, L"onenote")) toFile = true;
    else fallback = -1;   // OneNote takes no file name: nowhere to go
    return fallback;
}

std::vector<PrinterInfo> SystemPrinters() {
    std::vector<PrinterInfo> printers;
    std::wstring byDefault;
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size > 0) {
        byDefault.assign(size, L'\0');
        if (GetDefaultPrinterW(byDefault.data(), &size)) byDefault.resize(wcsnlen(byDefault.c_str(), byDefault.size()));
        else byDefault.clear();
    }
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (needed > 0 && EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) {
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
        for (DWORD i = 0; i < count; i++) {
            auto text = [](const wchar_t* w) { return w ? std::wstring(w) : std::wstring(); };
            printers.push_back({text(info[i].pPrinterName), text(info[i].pPortName), text(info[i].pDriverName),
                                info[i].pPrinterName && byDefault == info[i].pPrinterName});
        }
    }
    // A default printer the list left out is still the default.
    if (!byDefault.empty() && std::none_of(printers.begin(), printers.end(),
                                           [](const PrinterInfo& p) { return p.isDefault; }))
        printers.push_back({byDefault, L"", L"", true});
    return printers;
}

PageDevice* MakeGdiPrinter(std::vector<PrinterInfo> (*listPrinters)()) { return new GdiPrinter(listPrinters); }

PageDevice* MakeSystemPrinter() { return MakeGdiPrinter(); }
