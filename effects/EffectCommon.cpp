// The clock seam and the common stop.
#include "effects/EffectCommon.h"

#include "effects/Random.h"

namespace corvane {

void EffectClock::reseed(RandomGenerator &random) const
{
    random.setSeed(utcMsOfDay());
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
        plan.status
                = lockCount >= 1 ? QStringLiteral("lock ") + QString::number(lockCount) : QString();
    return plan;
}

} // namespace corvane
