#include "onenote_model/OneNoteModel.h"

namespace ON
{
bool IsPageElementName(std::wstring_view localName)
{
    return PageElement::Schema().Accepts(Xml::Fresh<PageElement>(), localName);
}
} // namespace ON

template class XmlElement<ON::Indent>;
template class XmlElement<ON::Indents>;
template class XmlElement<ON::Outline>;
template class XmlElement<ON::Previews>;
template class XmlElement<ON::Printout>;
template class XmlElement<ON::InsertedFile>;
template class XmlElement<ON::MediaFile>;
template class XmlElement<ON::AnchorPoint>;
template class XmlElement<ON::ShapeInfo>;
template class XmlElement<ON::InkDrawing>;
template class XmlElement<ON::FutureObject>;
