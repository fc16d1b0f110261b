#include "errors/ErrorReport.h"

#include <cstdio>
#include <memory>

#include "errors/SetupException.h"

std::string FormatHeadlineV(const char* format, std::va_list args) {
    if (!format) return {};
    char buffer[kHeadlineBufferSize];
    // vsnprintf never writes past the buffer and always terminates; a
    // negative result (an encoding error) leaves nothing worth showing.
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) return {};
    return buffer;
}

std::string FormatHeadline(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string result = FormatHeadlineV(format, args);
    va_end(args);
    return result;
}

std::string ErrorInformationLine(unsigned messageId, int cause, const char* className) {
    char buffer[64 + 256];
    std::snprintf(buffer, sizeof buffer, "%d.%d (%.255s)", static_cast<int>(messageId), cause,
                  className ? className : "");
    return buffer;
}

ErrorReportTexts BuildErrorReport(unsigned messageId, const CException& e, std::string headline) {
    std::unique_ptr<CXException> converted;
    const auto* family = dynamic_cast<const CXException*>(&e);
    if (!family) {
        converted = ToSetupException(e);
        family = converted.get();
    }
    family->PrepareMessages();
    const ReportSlots& slots = CurrentReportSlots();

    ErrorReportTexts texts;
    texts.headline = std::move(headline);
    texts.shortText = slots.shortText;
    texts.longText = slots.longText;
    texts.errorInformation = ErrorInformationLine(messageId, family->cause, family->GetRuntimeClass()->className);
    return texts;
}

bool SwapMoreCaption(std::string& caption, bool expanded) {
    const char* from = expanded ? ">>" : "<<";
    const char* to = expanded ? "<<" : ">>";
    const std::size_t at = caption.find(from);
    if (at == std::string::npos) return false;
    caption.replace(at, 2, to);
    return true;
}

bool LiesWhollyInside(const LayoutRect& area, const LayoutRect& child) {
    auto inside = [&](long x, long y) { return x >= area.left && x < area.right && y >= area.top && y < area.bottom; };
    return inside(child.left, child.top) && inside(child.right, child.bottom);
}
