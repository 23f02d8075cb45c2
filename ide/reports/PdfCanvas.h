#pragma once
// The surface the PDF report is laid out on. The layout speaks in points with y measured from the
// top of the page downwards; the canvas turns that into the library's coordinates. Tests lay the
// report out on a recording canvas and check the numbers; the report itself uses the libharu one.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zov::reports {

enum class PdfFont { Regular, Bold, Title };

struct PdfColour {
    double r = 0;
    double g = 0;
    double b = 0;
    friend bool operator==(const PdfColour&, const PdfColour&) = default;
};

inline constexpr PdfColour kLabelGrey{0.75, 0.75, 0.75};
inline constexpr PdfColour kValueCream{0.93, 0.93, 0.87};
inline constexpr PdfColour kHeaderBlue{0.65, 0.79, 0.94};
inline constexpr PdfColour kNokRed{0.93, 0.40, 0.40};
inline constexpr PdfColour kOkGreen{0.20, 0.93, 0.20};

// Cell texts are drawn at this size; titles at 12 points.
inline constexpr float kCellFontSize = 8;
inline constexpr float kTitleFontSize = 12;

struct PdfImageSize {
    int width = 0;  // pixels
    int height = 0;
};

class PdfCanvas {
public:
    virtual ~PdfCanvas() = default;

    virtual float PageWidth() const = 0;
    virtual float PageHeight() const = 0;
    // Adds a page at the end; it becomes the current one.
    virtual void AddPage() = 0;
    virtual int PageCount() const = 0;

    // A filled cell whose bottom edge is y points below the page top, with up to two lines of text
    // (8 points; the first 8 points above the cell's top-minus-height baseline, the second 12 lower).
    virtual void DrawCell(float x, float y, float width, float height, const std::string* first,
                          const std::string* second, PdfFont font, PdfColour colour) = 0;
    // A 12-point text with its baseline y points below the page top.
    virtual void DrawTextAt(float x, float y, const std::string& text, PdfFont font) = 0;
    // The width of a text in the given font and size.
    virtual float TextWidth(std::string_view text, PdfFont font, float size) = 0;

    // Loads a JPEG header image; nothing when it cannot be read, and the document stays sound.
    virtual std::optional<PdfImageSize> LoadJpeg(const std::string& path) = 0;
    // Draws the loaded image with its lower-left corner at (x, bottom) in the library's coordinates.
    virtual void DrawImage(float x, float bottom, float width, float height) = 0;

    // "i/n" at the foot of page pageIndex (from 0), in the regular font.
    virtual void DrawPageNumber(int pageIndex, const std::string& text) = 0;
};

// The canvas over libharu: A4 portrait pages, Helvetica in WinAnsiEncoding, UTF-8 texts written in
// Windows-1252 ('?' for what it cannot hold).
class HaruPdfCanvas final : public PdfCanvas {
public:
    // Nothing when the library cannot create a document.
    static std::unique_ptr<HaruPdfCanvas> Create();
    ~HaruPdfCanvas() override;

    float PageWidth() const override;
    float PageHeight() const override;
    void AddPage() override;
    int PageCount() const override;
    void DrawCell(float x, float y, float width, float height, const std::string* first, const std::string* second,
                  PdfFont font, PdfColour colour) override;
    void DrawTextAt(float x, float y, const std::string& text, PdfFont font) override;
    float TextWidth(std::string_view text, PdfFont font, float size) override;
    std::optional<PdfImageSize> LoadJpeg(const std::string& path) override;
    void DrawImage(float x, float bottom, float width, float height) override;
    void DrawPageNumber(int pageIndex, const std::string& text) override;

    // The document's bytes; the library's error code (0 when it succeeded).
    unsigned long Save(std::string& bytes);

private:
    struct Impl;
    explicit HaruPdfCanvas(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace zov::reports
