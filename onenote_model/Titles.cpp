// The one compilation of the reading and writing of the elements in Titles.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::ChildOELayout>;
template class XmlElement<ON::Title>;
