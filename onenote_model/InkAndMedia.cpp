// The one compilation of the reading and writing of the elements in InkAndMedia.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::InkWord>;
template class XmlElement<ON::InkParagraph>;
template class XmlElement<ON::MediaReference>;
template class XmlElement<ON::MediaIndex>;
