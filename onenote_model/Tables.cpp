// The one compilation of the reading and writing of the elements in Tables.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Column>;
template class XmlElement<ON::Columns>;
template class XmlElement<ON::Cell>;
template class XmlElement<ON::Row>;
template class XmlElement<ON::Table>;
