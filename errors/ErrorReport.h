#pragma once
// The texts of one error report, built from a headline format, an exception
// and the message catalogue; and the layout rules of the expanding dialog.
// Portable: no <windows.h>.

#include <cstdarg>
#include <cstddef>
#include <string>

#include "framework/Exception.h"

// The headline is formatted into a buffer of this many bytes, terminator
// included; a longer result is cut to fit.
constexpr std::size_t kHeadlineBufferSize = 512;

// printf-style formatting of a headline, bounded by kHeadlineBufferSize.
// A format without placeholders ignores the arguments.
std::string FormatHeadlineV(const char* format, std::va_list args);
std::string FormatHeadline(const char* format, ...);

// "%d.%d (%s)" from the headline's string id, the cause and the class name.
std::string ErrorInformationLine(unsigned messageId, int cause, const char* className);

struct ErrorReportTexts {
    std::string headline;
    std::string shortText;
    std::string longText;
    std::string errorInformation;
};

// Converts a framework exception into the family (family members are used
// as they are), fills the report slots from the catalogue and returns the
// four texts. `e` is not changed; a converted temporary is freed here.
ErrorReportTexts BuildErrorReport(unsigned messageId, const CException& e, std::string headline);

// The caption of the "More" button after a toggle: while expanded the first
// ">>" shows as "<<", while collapsed the first "<<" as ">>". A caption
// without the pair stays as it is. Returns whether it changed.
bool SwapMoreCaption(std::string& caption, bool expanded);

// Rectangle with exclusive right and bottom edges, as Windows uses them.
struct LayoutRect {
    long left, top, right, bottom;
};

// A child lies wholly inside `area` when its top-left and bottom-right corners
// both do; a corner on the right or bottom edge lies outside.
bool LiesWhollyInside(const LayoutRect& area, const LayoutRect& child);
