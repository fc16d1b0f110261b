#pragma once
// Fonts sized in points for a device.

#include <windows.h>

#include "framework/Handle.h"

// Creates a font of `points` for device `dc` (null: a memory DC compatible
// with the screen, released again). Height = -(points * vertical dpi / 72),
// width = -(widthPoints * horizontal dpi / 72), both rounded to the nearest
// pixel; weight 700 when bold, else 0 (the font mapper's default). The other
// arguments are LOGFONT's. Empty guard when the font cannot be made.
UniqueFont CreateFontInPoints(HDC dc, const char* faceName, int points, bool bold = false, bool italic = false,
                              int widthPoints = 0, int escapement = 0, int orientation = 0, bool underline = false,
                              bool strikeOut = false, BYTE charSet = DEFAULT_CHARSET,
                              BYTE outPrecision = OUT_DEFAULT_PRECIS, BYTE clipPrecision = CLIP_DEFAULT_PRECIS,
                              BYTE quality = DEFAULT_QUALITY, BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);
