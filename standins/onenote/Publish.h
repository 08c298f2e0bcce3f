#pragma once
// Publishing a page as an enhanced metafile: a real EMF that shows the page's title and text.

#include "standins/onenote/Store.h"

namespace StandIn
{
HRESULT PublishEmf(const PageText& text, const std::wstring& path);
} // namespace StandIn
