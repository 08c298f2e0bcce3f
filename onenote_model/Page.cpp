// The one compilation of the reading and writing of the elements in Page.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Page>;
