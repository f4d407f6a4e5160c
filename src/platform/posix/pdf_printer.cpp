// The page device of this system: cairo draws each job as a PDF of A4 or US Letter
// pages, fonts are found by family through fontconfig, and the finished PDF
// is kept in the folder PRINTS and handed to the CUPS default printer when
// there is one.
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cups/cups.h>
#include <fontconfig/fontconfig.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "model/text.h"
#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/posix/pdf_printer.h"

namespace {

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t Discard(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

}  // namespace

std::string Cp437ToUtf8(const std::string& text) {
    std::string out;
    for (unsigned char ch : text) {
        unsigned code = ch;
        if (ch < 32 || ch == 127) code = ' ';   // control codes print as blanks
        else if (ch >= 128) code = (unsigned)Cp437Glyph(ch);
        AppendUtf8(out, code);
    }
    return out;
}

Paper PaperOfName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    if (lower.find("a4") != std::string::npos) return Paper::A4;
    if (lower.find("letter") != std::string::npos) return Paper::Letter;
    return Paper::Auto;
}

bool HasCupsPrinter() {
    if (std::getenv("KELMO_NO_CUPS")) return false;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (dest) cupsFreeDests(1, dest);
    return dest != nullptr;
}

PaperChoice SystemPaperChoice() {
    // The default printer's paper.
    if (!std::getenv("KELMO_NO_CUPS")) {
        if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr)) {
            const char* media = cupsGetOption("media", dest->num_options, dest->options);
            const Paper paper = media ? PaperOfName(media) : Paper::Auto;
            cupsFreeDests(1, dest);
            if (paper != Paper::Auto) return {paper, PaperChoice::Printer};
        }
    }
    // The paper of the locale the user chose; the C locale says nothing.
    std::string chosen;
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            chosen = value;
            break;
        }
    }
    if (!chosen.empty() && chosen != "POSIX" && chosen != "C" && chosen.rfind("C.", 0) != 0) {
        if (locale_t locale = newlocale(LC_PAPER_MASK, "", (locale_t)0)) {
            const int width = (int)(intptr_t)nl_langinfo_l(_NL_PAPER_WIDTH, locale);
            freelocale(locale);
            if (width == 210) return {Paper::A4, PaperChoice::Locale};
            if (width == 216) return {Paper::Letter, PaperChoice::Locale};
        }
    }
    return {Paper::Letter, PaperChoice::Neither};
}

Paper SystemPaper() { return SystemPaperChoice().paper; }

namespace {

class PdfPrinter : public PageDevice {
public:
    PdfPrinter() {
        options_ = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_NONE);
        measureSurface_ = cairo_pdf_surface_create_for_stream(Discard, nullptr, LetterWidthPt, LetterHeightPt);
        measure_ = cairo_create(measureSurface_);
        PrepareContext(measure_);
    }

    ~PdfPrinter() override {
        AbandonJob();
        cairo_destroy(measure_);
        cairo_surface_destroy(measureSurface_);
        for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
        cairo_font_options_destroy(options_);
    }

    void OpenJob(const std::string& tag) override {
        if (jobOpen_) CloseJob(true);
        tag_ = tag;
        name_ = KeptFileName(tag, true);
        bytes_.clear();
        a4_ = (paper_ == Paper::Auto ? SystemPaper() : paper_) == Paper::A4;
        surface_ = cairo_pdf_surface_create_for_stream(AppendToString, &bytes_, a4_ ? A4WidthPt : LetterWidthPt,
                                                       a4_ ? A4HeightPt : LetterHeightPt);
        cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, "Print Job");
        cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Kelmo");
        cr_ = cairo_create(surface_);
        if (a4_) FitLetterAreaToA4(cr_);
        PrepareContext(cr_);
        jobOpen_ = true;
        pageOpen_ = false;
        pages_ = 0;
        scale_ = PageScale();
        curX_ = curY_ = 0;
        red_ = green_ = blue_ = 0;
        pen_ = 1;
        font_ = nullptr;
    }

    void SetPaper(Paper paper) override { paper_ = paper; }
    PaperChoice AutoPaper() override { return SystemPaperChoice(); }
    bool HasPrinter() override { return HasCupsPrinter(); }

    void SetScale(float x1, float y1, float x2, float y2) override {
        if (jobOpen_) scale_.Set(x1, y1, x2, y2);
    }

    void SetFont(const FontDesc& desc) override {
        if (!jobOpen_) return;
        font_ = Realise(desc);
    }

    void SetColor(int red, int green, int blue) override {
        red_ = red, green_ = green, blue_ = blue;
    }

    void SetPenWidth(int pixels) override { pen_ = pixels < 1 ? 1 : pixels; }

    void MoveTo(double x, double y) override {
        curX_ = DevX(x);
        curY_ = DevY(y);
    }

    void DrawText(const std::string& text) override {
        if (!jobOpen_ || text.empty() || !font_) return;
        BeginPage();
        std::string utf8 = Cp437ToUtf8(text);
        Select(cr_, *font_);
        cairo_set_source_rgb(cr_, red_ / 255.0, green_ / 255.0, blue_ / 255.0);
        cairo_move_to(cr_, curX_, curY_ + font_->ascent);
        cairo_show_text(cr_, utf8.c_str());
        curX_ += Advance(utf8);
    }

    void NewLine() override {
        curX_ = DevX(0);
        if (font_) curY_ += std::round(font_->lineHeight);
    }

    void TextSize(const std::string& text, double& width, double& height) override {
        width = height = 0;
        if (!font_) return;
        width = Advance(Cp437ToUtf8(text)) / PixelsPerUnit();
        height = (font_->ascent + font_->descent) / PixelsPerUnit();
    }

    void LineTo(double x, double y) override {
        double toX = DevX(x), toY = DevY(y);
        if (jobOpen_) {
            BeginPage();
            Stroke([&] {
                cairo_move_to(cr_, curX_, curY_);
                cairo_line_to(cr_, toX, toY);
            });
        }
        curX_ = toX;
        curY_ = toY;
    }

    void RoundBox(double x1, double y1, double x2, double y2, int rounding) override {
        if (!jobOpen_) return;
        BeginPage();
        double left = DevX(std::min(x1, x2)), right = DevX(std::max(x1, x2));
        double top = DevY(std::min(y1, y2)), bottom = DevY(std::max(y1, y2));
        double r = std::min(right - left, bottom - top) * std::clamp(rounding, 0, 100) / 100.0 / 2;
        Stroke([&] {
            cairo_new_sub_path(cr_);
            cairo_arc(cr_, right - r, top + r, r, -M_PI / 2, 0);
            cairo_arc(cr_, right - r, bottom - r, r, 0, M_PI / 2);
            cairo_arc(cr_, left + r, bottom - r, r, M_PI / 2, M_PI);
            cairo_arc(cr_, left + r, top + r, r, M_PI, 3 * M_PI / 2);
            cairo_close_path(cr_);
        });
    }

    void EndPage() override {
        if (!jobOpen_) return;
        FinishPage();
        curX_ = DevX(0);
        curY_ = DevY(0);
    }

    JobResult CloseJob(bool complete) override {
        if (!jobOpen_) return {};
        FinishPage();
        cairo_destroy(cr_);
        cr_ = nullptr;
        cairo_surface_finish(surface_);
        bool good = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        jobOpen_ = false;
        // A job stopped before its first page leaves nothing to keep or print.
        if (pages_ == 0) return {};
        // The name chosen at the start, unless the job was cut short or the
        // name was taken meanwhile: a rename would replace that file.
        std::string name = complete && !FileExists(name_) ? name_ : KeptFileName(tag_, complete);
        bool written = good && MakeFolder("PRINTS") && WriteFileAtomic(name, bytes_);
        bytes_.clear();
        if (!written) return {JobResult::Failed, WriteFailureText("Could not write the printout file", name)};
        return Submit(name);
    }

private:
    static constexpr double LetterWidthPt = 612, LetterHeightPt = 792;
    static constexpr double A4WidthPt = 210 / 25.4 * 72, A4HeightPt = 297 / 25.4 * 72;
    static constexpr double Dpi = 600;
    static constexpr double MarginPt = 18, MarginPx = 0.25 * Dpi;
    static constexpr double AreaWidthPx = 8 * Dpi, AreaHeightPx = 10.5 * Dpi;

    // Everything is drawn as on Letter; on A4 that area is shrunk by one
    // scale for both axes until it fits within A4's margins, and centred:
    // the Letter proportions kept, nothing stretched or cut.
    static void FitLetterAreaToA4(cairo_t* cr) {
        const double roomX = A4WidthPt - 2 * MarginPt, roomY = A4HeightPt - 2 * MarginPt;
        const double letterX = LetterWidthPt - 2 * MarginPt, letterY = LetterHeightPt - 2 * MarginPt;
        const double scale = std::min(roomX / letterX, roomY / letterY);
        // The shrunk margin as well as the area moves in by what it lost.
        cairo_translate(cr, (roomX - letterX * scale) / 2 + MarginPt * (1 - scale),
                        (roomY - letterY * scale) / 2 + MarginPt * (1 - scale));
        cairo_scale(cr, scale, scale);
    }

    struct Font {
        cairo_font_face_t* face = nullptr;
        double size = 0;      // em height in device pixels
        double ascent = 0, descent = 0, lineHeight = 0;
    };

    void PrepareContext(cairo_t* cr) {
        // One user unit is one 600-dpi device pixel, origin at the top-left
        // of the printable area; nothing is drawn outside that area, as on a
        // printer with a quarter-inch margin.
        cairo_scale(cr, 72 / Dpi, 72 / Dpi);
        cairo_translate(cr, MarginPx, MarginPx);
        cairo_rectangle(cr, 0, 0, AreaWidthPx, AreaHeightPx);
        cairo_clip(cr);
        cairo_set_font_options(cr, options_);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    }

    double PixelsPerUnit() const { return scale_.PixelsPerUnit(AreaWidthPx, AreaHeightPx); }
    double DevX(double x) const { return std::round(scale_.DevX(x, AreaWidthPx, AreaHeightPx)); }
    double DevY(double y) const { return std::round(scale_.DevY(y, AreaWidthPx, AreaHeightPx)); }

    void BeginPage() { pageOpen_ = true; }

    void FinishPage() {
        if (!pageOpen_) return;
        cairo_show_page(cr_);
        pageOpen_ = false;
        pages_++;
    }

    template <class Path>
    void Stroke(Path path) {
        cairo_new_path(cr_);
        path();
        cairo_set_source_rgb(cr_, red_ / 255.0, green_ / 255.0, blue_ / 255.0);
        cairo_set_line_width(cr_, pen_);
        cairo_stroke(cr_);
    }

    void Select(cairo_t* cr, const Font& font) {
        cairo_set_font_face(cr, font.face);
        cairo_set_font_size(cr, font.size);
    }

    double Advance(const std::string& utf8) {
        if (utf8.empty() || !font_) return 0;
        Select(measure_, *font_);
        cairo_text_extents_t extents;
        cairo_text_extents(measure_, utf8.c_str(), &extents);
        return extents.x_advance;
    }

    cairo_font_face_t* Face(const std::string& family, bool bold) {
        std::string key = AsciiLower(family);
        key += bold ? "|b" : "|r";
        auto found = faces_.find(key);
        if (found != faces_.end()) return found->second;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        cairo_font_face_t* face;
        if (match) {
            face = cairo_ft_font_face_create_for_pattern(match);
            FcPatternDestroy(match);
        } else {
            face = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                              bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        }
        faces_[key] = face;
        return face;
    }

    // Fonts are made the first time they are used and kept for the run.
    const Font* Realise(const FontDesc& desc) {
        double size = std::round(desc.points * Dpi / 72);
        std::string key = desc.face + "|" + std::to_string(desc.style & 1) + "|" + std::to_string(size);
        auto found = fonts_.find(key);
        if (found != fonts_.end()) return &found->second;
        Font font;
        font.face = Face(desc.face, desc.style & 1);
        font.size = size;
        Select(measure_, font);
        cairo_font_extents_t extents;
        cairo_font_extents(measure_, &extents);
        font.ascent = extents.ascent;
        font.descent = extents.descent;
        font.lineHeight = extents.height;
        return &(fonts_[key] = font);
    }

    JobResult Submit(const std::string& name) {
        JobResult kept{JobResult::KeptOnly, name};
        const char* off = std::getenv("KELMO_NO_CUPS");
        if (off && *off) return kept;
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
        if (!dest) return kept;   // no default printer: the PDF is the printout
        std::string path = ResolvePath(name);
        int job = cupsPrintFile(dest->name, path.c_str(), "Print Job", dest->num_options, dest->options);
        const std::string printer = dest->name;
        cupsFreeDests(1, dest);
        if (job == 0) {
            // The file name first: a long reason is what gets cut off.
            const char* reason = cupsLastErrorString();
            return {JobResult::Failed,
                    "Not printed, kept " + name + ": " + (reason && *reason ? reason : "refused")};
        }
        return {JobResult::Printed, name, printer};
    }

    void AbandonJob() {
        if (cr_) cairo_destroy(cr_);
        if (surface_) cairo_surface_destroy(surface_);
        cr_ = nullptr;
        surface_ = nullptr;
        jobOpen_ = false;
    }

    cairo_font_options_t* options_ = nullptr;
    cairo_surface_t* measureSurface_ = nullptr;
    cairo_t* measure_ = nullptr;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::string bytes_, tag_, name_;
    bool jobOpen_ = false, pageOpen_ = false;
    int pages_ = 0;
    PageScale scale_;
    Paper paper_ = Paper::Auto;
    bool a4_ = false;
    double curX_ = 0, curY_ = 0;
    int red_ = 0, green_ = 0, blue_ = 0;
    int pen_ = 1;
    const Font* font_ = nullptr;
    std::map<std::string, cairo_font_face_t*> faces_;
    std::map<std::string, Font> fonts_;
};

}  // namespace

PageDevice* MakePdfPrinter() { return new PdfPrinter(); }

void ReleaseSystemLibraries() {
    cairo_debug_reset_static_data();
    FcFini();
}
PageDevice* MakeSystemPrinter() { return MakePdfPrinter(); }
