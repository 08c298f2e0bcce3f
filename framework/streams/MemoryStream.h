#pragma once
// Growable memory streams for the XML reader and writer, and reading a stream back as text.

#include <comdef.h>
#include <objidl.h>

#include <string>

_COM_SMARTPTR_TYPEDEF(IStream, __uuidof(IStream));

// A new, empty, growable stream; raises a COM error when none can be made.
IStreamPtr CreateMemoryStream();

// The whole content of stream, from its start, as a BSTR of the same byte length.
_bstr_t StreamToBstr(IStream* stream);

// The whole content of stream, from its start, as bytes. A stream of 4 GB or more, or one that
// hands back less than it holds, raises a COM error carrying E_FAIL.
std::string StreamToBytes(IStream* stream);
