// The one compilation of the reading and writing of the elements in PageDefinitions.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::TagDef>;
template class XmlElement<ON::QuickStyleDef>;
template class XmlElement<ON::XPSFile>;
template class XmlElement<ON::MediaPlaylist>;
template class XmlElement<ON::MeetingInfo>;
