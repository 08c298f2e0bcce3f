#pragma once
// An image file on the page being filled: the page refers to the file by its path, sized in
// points from the image's pixels; the pixels themselves are never drawn here.

#include "import_engine/ImportConfig.h"
#include "import_engine/TOrError.h"
#include "import_engine/Target.h"

#include <string>

// The greatest width of an ordinary image on the page, in points.
inline constexpr double GreatestImageWidth = 480;

// Adds the image after the target's last placed element. A printout (a page rendered at the
// target's printout scale) is shown at the size of the page it was rendered from and never
// narrowed. A file that GDI+ cannot read, or of a format other than BMP, EMF, JPEG, PNG, GIF and
// TIFF, is the error "Cannot read image file" and leaves the page unchanged.
TOrError<ImportResult> ImportImage(const std::wstring& path, unsigned depth, Target& target, bool isPrintOut);
