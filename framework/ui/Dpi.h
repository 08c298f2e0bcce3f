#pragma once
// Lengths of the user interface are given in points (or in 96-dpi pixels) and turned into device
// pixels once per process: a DPI change during a run is not followed.

namespace UI
{
// The program's own zoom on top of the screen's DPI; each program sets 1.0 at start.
float GetUiScaleFactor();
void SetUiScaleFactor(float factor);

// trunc(points x factor + 0.5): how every metric becomes pixels.
int PointsToPixels(float points, float factor);
// A length given in 96-dpi pixels (px x 0.75 points) in device pixels for factor.
int ScaleToDpi(int px, float factor);

// Metrics in device pixels, computed once from GetDpiScaleX.
int ButtonHeight();    // 21 pt: push buttons and the minimum button size
int CheckBoxHeight();  // 13.5 pt: check boxes, radio buttons, owner-drawn combo box items
int Gap();             // 3.75 pt: small gaps between controls
int Margin();          // 7.5 pt: default margin of a laid-out window, padding in buttons
int ControlHeight();   // 15 pt: edit boxes, progress bars, icon-only buttons
int LargeMargin();     // 15 pt: dialog margins, distance of a placed window from its reference
} // namespace UI

// Device pixels per point, horizontally and vertically, including the UI scale factor; computed
// once on first use.
float GetDpiScaleX();
float GetDpiScaleY();

// A length given in 96-dpi pixels in device pixels of this screen.
int ScaleToDpi(int px);
