#include "common/TextCodec.h"
#include "ide/reports/PdfCanvas.h"

#include <hpdf.h>

#include <vector>

namespace zov::reports {

namespace {

// The standard fonts' Windows-1252 encoding, so that every byte of the code page shows as itself.
constexpr const char* kEncoding = "WinAnsiEncoding";

std::string PdfBytes(std::string_view utf8)
{
    return Utf8ToWindows1252(DecodeText(utf8), '?');
}

}  // namespace

struct HaruPdfCanvas::Impl {
    HPDF_Doc doc = nullptr;
    HPDF_Font regular = nullptr;
    HPDF_Font bold = nullptr;
    HPDF_Font title = nullptr;
    std::vector<HPDF_Page> pages;
    HPDF_Image image = nullptr;

    ~Impl()
    {
        if (doc) {
            HPDF_Free(doc);
        }
    }
    HPDF_Page Page() const { return pages.back(); }
    HPDF_Font FontOf(PdfFont font) const
    {
        switch (font) {
        case PdfFont::Bold:
            return bold;
        case PdfFont::Title:
            return title;
        case PdfFont::Regular:
            break;
        }
        return regular;
    }
    void Show(float x, float y, const std::string& utf8)
    {
        const std::string bytes = PdfBytes(utf8);
        HPDF_Page_BeginText(Page());
        HPDF_Page_MoveTextPos(Page(), x, y);
        HPDF_Page_ShowText(Page(), bytes.c_str());
        HPDF_Page_EndText(Page());
    }
};

std::unique_ptr<HaruPdfCanvas> HaruPdfCanvas::Create()
{
    auto impl = std::make_unique<Impl>();
    impl->doc = HPDF_New(nullptr, nullptr);
    if (!impl->doc) {
        return nullptr;
    }
    impl->regular = HPDF_GetFont(impl->doc, "Helvetica", kEncoding);
    impl->bold = HPDF_GetFont(impl->doc, "Helvetica-Bold", kEncoding);
    impl->title = HPDF_GetFont(impl->doc, "Helvetica", kEncoding);
    if (!impl->regular || !impl->bold || !impl->title) {
        return nullptr;
    }
    auto canvas = std::unique_ptr<HaruPdfCanvas>(new HaruPdfCanvas(std::move(impl)));
    canvas->AddPage();
    return canvas;
}

HaruPdfCanvas::HaruPdfCanvas(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

HaruPdfCanvas::~HaruPdfCanvas() = default;

float HaruPdfCanvas::PageWidth() const
{
    return HPDF_Page_GetWidth(impl_->Page());
}

float HaruPdfCanvas::PageHeight() const
{
    return HPDF_Page_GetHeight(impl_->Page());
}

void HaruPdfCanvas::AddPage()
{
    HPDF_Page page = HPDF_AddPage(impl_->doc);
    if (page) {
        impl_->pages.push_back(page);
    }
}

int HaruPdfCanvas::PageCount() const
{
    return static_cast<int>(impl_->pages.size());
}

void HaruPdfCanvas::DrawCell(float x, float y, float width, float height, const std::string* first,
                             const std::string* second, PdfFont font, PdfColour colour)
{
    HPDF_Page page = impl_->Page();
    const float top = PageHeight() - y;
    HPDF_Page_SetFontAndSize(page, impl_->FontOf(font), kCellFontSize);
    HPDF_Page_SetLineWidth(page, 0);
    HPDF_Page_SetRGBFill(page, static_cast<HPDF_REAL>(colour.r), static_cast<HPDF_REAL>(colour.g),
                         static_cast<HPDF_REAL>(colour.b));
    HPDF_Page_Rectangle(page, x, top, width, height);
    HPDF_Page_Fill(page);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    if (first) {
        impl_->Show(x + 3, top + height - 8, *first);
    }
    if (second) {
        impl_->Show(x + 3, top + height - 20, *second);
    }
}

void HaruPdfCanvas::DrawTextAt(float x, float y, const std::string& text, PdfFont font)
{
    HPDF_Page_SetFontAndSize(impl_->Page(), impl_->FontOf(font), kTitleFontSize);
    impl_->Show(x, PageHeight() - y, text);
}

float HaruPdfCanvas::TextWidth(std::string_view text, PdfFont font, float size)
{
    const std::string bytes = PdfBytes(text);
    const HPDF_TextWidth width = HPDF_Font_TextWidth(
        impl_->FontOf(font), reinterpret_cast<const HPDF_BYTE*>(bytes.data()), static_cast<HPDF_UINT>(bytes.size()));
    return static_cast<float>(width.width) * size / 1000.0f;
}

std::optional<PdfImageSize> HaruPdfCanvas::LoadJpeg(const std::string& path)
{
    impl_->image = HPDF_LoadJpegImageFromFile(impl_->doc, path.c_str());
    if (!impl_->image) {
        // The library keeps the error and would refuse to save the document because of it.
        HPDF_ResetError(impl_->doc);
        return std::nullopt;
    }
    return PdfImageSize{static_cast<int>(HPDF_Image_GetWidth(impl_->image)),
                        static_cast<int>(HPDF_Image_GetHeight(impl_->image))};
}

void HaruPdfCanvas::DrawImage(float x, float bottom, float width, float height)
{
    if (impl_->image) {
        HPDF_Page_DrawImage(impl_->Page(), impl_->image, x, bottom, width, height);
    }
}

void HaruPdfCanvas::DrawPageNumber(int pageIndex, const std::string& text)
{
    if (pageIndex < 0 || pageIndex >= PageCount()) {
        return;
    }
    HPDF_Page page = impl_->pages[static_cast<std::size_t>(pageIndex)];
    // Set on every page: a page whose font was never set cannot show text.
    HPDF_Page_SetFontAndSize(page, impl_->regular, kCellFontSize);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, HPDF_Page_GetWidth(page) - 30, 20);
    HPDF_Page_ShowText(page, PdfBytes(text).c_str());
    HPDF_Page_EndText(page);
}

unsigned long HaruPdfCanvas::Save(std::string& bytes)
{
    bytes.clear();
    if (HPDF_STATUS status = HPDF_GetError(impl_->doc); status != HPDF_OK) {
        return status;
    }
    if (HPDF_STATUS status = HPDF_SaveToStream(impl_->doc); status != HPDF_OK) {
        return status;
    }
    HPDF_ResetStream(impl_->doc);
    bytes.resize(HPDF_GetStreamSize(impl_->doc));
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    HPDF_STATUS status = HPDF_ReadFromStream(impl_->doc, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size);
    if (status != HPDF_OK && status != HPDF_STREAM_EOF) {
        bytes.clear();
        return status;
    }
    bytes.resize(size);
    return HPDF_OK;
}

}  // namespace zov::reports
