#pragma once
// How tall a link label has to be to show all its text at a width.

#include <windows.h>

// The link control's own answer (it wraps its text its own way, which a measure of the plain text
// can underestimate), or 0 when it gives none.
int GetLinkLabelIdealHeight(HWND label, int width);
