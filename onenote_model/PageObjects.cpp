#include "onenote_model/PageObjects.h"

namespace ON
{
bool IsPageElementName(std::wstring_view localName)
{
    return PageElement::Schema().Accepts(Xml::Fresh<PageElement>(), localName);
}
} // namespace ON
