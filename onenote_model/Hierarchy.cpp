// The one compilation of the reading and writing of the elements in Hierarchy.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Section>;
template class XmlElement<ON::SectionGroup>;
template class XmlElement<ON::Notebook>;
template class XmlElement<ON::UnfiledNotes>;
template class XmlElement<ON::OpenSections>;
template class XmlElement<ON::Notebooks>;
