#include "plat/LocaleInfo.h"

#include <atomic>
#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace plat {

namespace {

// -1 until the locale has been read.
std::atomic<int> g_measurement{-1};

TMeasurementSystem ReadMeasurementSystem()
{
#ifdef _NL_MEASUREMENT_MEASUREMENT
    // The locale named by the environment for LC_MEASUREMENT: 1 metric, 2 United States.
    if (locale_t loc = newlocale(LC_MEASUREMENT_MASK, "", static_cast<locale_t>(0))) {
        const char* value = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
        const bool us = value && value[0] == 2;
        freelocale(loc);
        return us ? msUnitedStates : msMetric;
    }
#endif
    return msMetric;
}

} // namespace

TMeasurementSystem UserMeasurementSystem()
{
    int v = g_measurement.load(std::memory_order_acquire);
    if (v < 0) {
        v = ReadMeasurementSystem();
        int expected = -1;
        if (!g_measurement.compare_exchange_strong(expected, v))
            v = expected;
    }
    return static_cast<TMeasurementSystem>(v);
}

void SetUserMeasurementSystem(TMeasurementSystem Value)
{
    g_measurement.store(Value, std::memory_order_release);
}

} // namespace plat
