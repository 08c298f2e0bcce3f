// The one compilation of the reading and writing of the elements in PageObjectParts.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Position>;
template class XmlElement<ON::Size>;
template class XmlElement<ON::Meta>;
template class XmlElement<ON::PageObject>;
template class XmlElement<ON::FilePath_File, ON::T_FilePath>;
template class XmlElement<ON::OutlookTask>;
template class XmlElement<ON::Tag>;
template class XmlElement<ON::Preview>;
