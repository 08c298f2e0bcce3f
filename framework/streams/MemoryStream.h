#pragma once
// Growable memory streams for the XML reader and writer, and reading a stream back as text.

#include <comdef.h>
#include <objidl.h>

_COM_SMARTPTR_TYPEDEF(IStream, __uuidof(IStream));

// A new, empty, growable stream; raises a COM error when none can be made.
IStreamPtr CreateMemoryStream();

// The whole content of stream, from its start, as a BSTR of the same byte length.
_bstr_t StreamToBstr(IStream* stream);
