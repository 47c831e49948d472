#include "app/ZoomSteps.h"

namespace app {

// The steps are computed in double precision and stored as 32-bit values, and the limits compare the stored
// value against the exact decimals: a factor reached by stepping down to 0.6 lies just below 0.6 and goes no
// further, while 0.6 read from the preferences lies just above it.
float ZoomInStep(float factor)
{
    return double(factor) <= 0.95 ? static_cast<float>(double(factor) + 0.1) : factor;
}

float ZoomOutStep(float factor)
{
    return double(factor) > 0.6 ? static_cast<float>(double(factor) - 0.1) : factor;
}

float PercentToZoom(int percent)
{
    if (percent < 30)
        return 0.2f;
    if (percent >= 100)
        return 1.0f;
    static constexpr float kFactors[] = {0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};
    return kFactors[percent / 10 - 3];
}

// The limits are the same 32-bit values the percent table gives, so every factor of that table reads back as
// its own percentage (0.9 held as a float lies below the decimal 0.9 and would otherwise save as 80%).
int ZoomToPercent(float factor)
{
    static constexpr float kLimits[] = {0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f};
    int percent = 20;
    for (float limit : kLimits) {
        if (factor < limit)
            return percent;
        percent += 10;
    }
    return 100;
}

} // namespace app
