// The one compilation of the reading and writing of the elements in LinkedNotes.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::LinkedNoteUri>;
template class XmlElement<ON::LinkedNoteShortName>;
template class XmlElement<ON::LinkedNoteFriendlyName>;
template class XmlElement<ON::LinkedNoteDescription>;
template class XmlElement<ON::LinkedNoteThumbnail>;
template class XmlElement<ON::LinkedNote>;
