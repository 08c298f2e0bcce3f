#include "import_engine/ImageImport.h"

#include "framework/ui/Dpi.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageElementMakers.h"
#include "import_engine/PrintoutScale.h"

#include <gdiplus.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace
{
constexpr double PrintoutExtra = 1.44;
constexpr double GapAfterImage = 20;

// GDI+'s raw format identifiers of the formats OneNote shows; they differ in the first field only.
constexpr GUID AcceptedFormat(unsigned long first)
{
    return {first, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}
constexpr GUID AcceptedFormats[] = {
    AcceptedFormat(0xB96B3CAB), // BMP
    AcceptedFormat(0xB96B3CAC), // EMF
    AcceptedFormat(0xB96B3CAE), // JPEG
    AcceptedFormat(0xB96B3CAF), // PNG
    AcceptedFormat(0xB96B3CB0), // GIF
    AcceptedFormat(0xB96B3CB1), // TIFF
};

bool IsAccepted(const GUID& format)
{
    return std::any_of(std::begin(AcceptedFormats), std::end(AcceptedFormats),
                       [&](const GUID& accepted) { return IsEqualGUID(accepted, format) != FALSE; });
}

double PrintoutScaleFactor(uint32_t percent) { return UsablePrintoutScale(percent) / 100.0; }

// A printout is rendered from the page's size in device-independent pixels (96 to the inch), so
// its size in points is the page's, whatever the screen's DPI.
constexpr double PrintoutPixelsPerPoint = 96.0 / 72.0;
} // namespace

TOrError<ImportResult> ImportImage(const std::wstring& path, unsigned depth, Target& target, bool isPrintOut)
{
    const std::wstring context = L"File: " + path;
    auto picture = std::make_unique<Gdiplus::Image>(path.c_str());
    GUID format{};
    if (picture->GetLastStatus() != Gdiplus::Ok || picture->GetRawFormat(&format) != Gdiplus::Ok ||
        !IsAccepted(format))
        return MakeImportError(CannotReadImage, context);

    auto image = std::make_shared<ON::Image>();
    image->isPrintOut = isPrintOut;
    image->source.file = std::make_shared<ON::FilePath_File>(path);
    auto holder = MakePageElement(image);
    LinkTo(*image, *holder, *target.page, ON::Page::Name.localName.data());
    AddPageElement(*target.page, std::move(holder));

    double width = picture->GetWidth();
    double height = picture->GetHeight();
    if (isPrintOut)
    {
        // Rendered at the scale, shown at the size of the page it was rendered from.
        const double scale = PrintoutScaleFactor(target.printoutScale) * PrintoutPixelsPerPoint;
        width = width / scale + PrintoutExtra;
        height = height / scale + PrintoutExtra;
    }
    else
    {
        width /= GetDpiScaleX();
        height /= GetDpiScaleY();
    }
    if (!isPrintOut && width > GreatestImageWidth)
    {
        height = GreatestImageWidth / width * height;
        width = GreatestImageWidth;
    }
    auto& pageObject = image->tagable.pageObject;
    pageObject.size = std::make_shared<ON::Size>(width, height, true);
    return PlaceNextElement(pageObject, target, depth, GapAfterImage);
}
