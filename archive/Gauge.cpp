#include "archive/Gauge.h"

#include <algorithm>

std::uint32_t ClampGaugePosition(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum) {
    return std::max(std::min(value, maximum), minimum);
}

int GaugePercent(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t position) {
    // 64-bit arithmetic: the product of a 32-bit difference and 100 always
    // fits, so no range needs scaling down (scaling could turn two close
    // large bounds into an empty range and a division by zero).
    if (maximum <= minimum || position <= minimum) return 0;
    if (position >= maximum) return 100;
    const std::uint64_t done = static_cast<std::uint64_t>(position - minimum) * 100u;
    return static_cast<int>(done / (maximum - minimum));
}

int GaugeFillWidth(int width, int percent) {
    if (width <= 0) return 0;
    percent = std::max(0, std::min(percent, 100));
    return static_cast<int>(static_cast<std::int64_t>(width) * percent / 100);
}

std::string GaugeText(int percent) { return std::to_string(percent) + "%"; }
