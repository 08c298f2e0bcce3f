#pragma once
// Whether a link label's lines keep clear of its right edge at a width.

#include <windows.h>

// True when every line of the label, wrapped as the link control wraps its text at that width (at
// the last blank that fits), ends with its blank at least room pixels before the right edge. A
// line that ends close to the edge loses its last letters: the control draws a line a little wider
// than it measures it, and cuts it at its measure. A word wider than the whole width is broken
// wherever the label is, and is left out.
bool LinkLabelLinesHaveRoom(HWND label, int width, int room);
