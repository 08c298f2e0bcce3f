// The one compilation of the reading and writing of the elements in HtmlBlocks.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::HtmlContent_HTMLBlock, ON::T_HtmlContent>;
