// The one compilation of the reading and writing of the elements in TextRuns.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::TextRange_T, ON::T_TextRange>;
template class XmlElement<ON::Data>;
template class XmlElement<ON::CallbackID>;
template class XmlElement<ON::Space>;
template class XmlElement<ON::EndOfLine>;
