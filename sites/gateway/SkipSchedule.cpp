#include "sites/gateway/SkipSchedule.h"

namespace mirel::siteserver {

Clock::duration skipPause(int failures)
{
    using namespace std::chrono_literals;
    if (failures <= 0)
        return Clock::duration::zero();
    if (failures == 1)
        return 30s;
    if (failures == 2)
        return 2min;
    return 10min;
}

} // namespace mirel::siteserver
