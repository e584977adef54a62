#include "main_window/alarm_limits.h"

#include "link/number_text.h"
#include "link/range_code.h"

namespace hvr {

std::int64_t limitInBaseUnits(float limit, std::uint8_t unit) {
    switch (unit) {
    case AlarmVariables::kUnitAmp:
        return roundHalfEven(static_cast<double>(limit) * kBasePerAmp);
    case AlarmVariables::kUnitMilliamp:
        return roundHalfEven(static_cast<double>(limit) * kBasePerMilliamp);
    default:
        return 0;
    }
}

} // namespace hvr
