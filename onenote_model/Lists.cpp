// The one compilation of the reading and writing of the elements in Lists.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Bullet>;
template class XmlElement<ON::Number>;
template class XmlElement<ON::List>;
