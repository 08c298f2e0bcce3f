// The one compilation of the reading and writing of the elements in OutlineElements.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::OEChildren>;
template class XmlElement<ON::OE>;
