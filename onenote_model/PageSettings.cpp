// The one compilation of the reading and writing of the elements in PageSettings.h.

#include "onenote_model/OneNoteModel.h"

template class XmlElement<ON::Automatic>;
template class XmlElement<ON::PageOrientation_Orientation, ON::T_PageOrientation>;
template class XmlElement<ON::PageDimensions_Dimensions, ON::T_PageDimensions>;
template class XmlElement<ON::PageMargins_Margins, ON::T_PageMargins>;
template class XmlElement<ON::PageSize>;
template class XmlElement<ON::RuleLineSettings_Horizontal, ON::T_RuleLineSettings>;
template class XmlElement<ON::RuleLineSettings_Vertical, ON::T_RuleLineSettings>;
template class XmlElement<ON::RuleMarginSettings_Margin, ON::T_RuleMarginSettings>;
template class XmlElement<ON::RuleLines>;
template class XmlElement<ON::PageSettings>;
