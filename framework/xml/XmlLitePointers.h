#pragma once
// XmlLite's reader and writer with their owning COM pointers (declared once for the program).

#include <comdef.h>
#include <xmllite.h>

_COM_SMARTPTR_TYPEDEF(IXmlReader, IID_IXmlReader);
_COM_SMARTPTR_TYPEDEF(IXmlWriter, IID_IXmlWriter);
