#include "framework/Font.h"

UniqueFont CreateFontInPoints(HDC dc, const char* faceName, int points, bool bold, bool italic, int widthPoints,
                              int escapement, int orientation, bool underline, bool strikeOut, BYTE charSet,
                              BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily) {
    UniqueMemoryDC screenDC;
    if (!dc) {
        screenDC.Reset(::CreateCompatibleDC(nullptr));
        dc = screenDC.Get();
    }
    const int dpiY = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    const int dpiX = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    LOGFONTA lf{};
    // MulDiv rounds to the nearest integer.
    lf.lfHeight = -::MulDiv(points, dpiY, 72);
    lf.lfWidth = -::MulDiv(widthPoints, dpiX, 72);
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = bold ? FW_BOLD : 0;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    lstrcpynA(lf.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectA(&lf));
}
