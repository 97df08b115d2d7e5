// The clock seam and the common stop.
#include "effects/EffectCommon.h"

#include "effects/Random.h"

#include <chrono>

namespace corvane {

void EffectClock::reseed(RandomGenerator &random) const
{
    if (utcMsOfDay)
        random.setSeed(utcMsOfDay());
    else
        random.randomize();
}

EffectClock systemClock()
{
    EffectClock clock;
    clock.utcMsOfDay = [] {
        using namespace std::chrono;
        const auto now = system_clock::now().time_since_epoch();
        return uint32_t(duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000));
    };
    clock.localTime = [] { return QTime::currentTime(); };
    return clock;
}

EffectClock fixedClock(QTime local, uint32_t seed)
{
    EffectClock clock;
    clock.utcMsOfDay = [seed] { return seed; };
    clock.localTime = [local] { return local; };
    return clock;
}

StopPlan planStop(const Busy &running, int lockCount)
{
    StopPlan plan;
    plan.stopDifference = running.difference;
    plan.stopVelocity = running.velocity;
    plan.stopDeep = running.deep;
    plan.clearArts = running.arts;
    // Only Velocity reports on its way out; the others leave the status line.
    if (running.velocity)
        plan.status = lockCount >= 1 ? QStringLiteral("lock ") + QString::number(lockCount) : QString();
    return plan;
}

} // namespace corvane
