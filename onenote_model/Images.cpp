// The one compilation of the reading and writing of the elements in Images.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::PageObjectTagable>;
template class XmlElement<ON::OCRText>;
template class XmlElement<ON::OCRToken>;
template class XmlElement<ON::OCRData>;
template class XmlElement<ON::Image>;
