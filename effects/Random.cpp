// Clock seeding of the random generator.
#include "effects/Random.h"

#include <chrono>

namespace corvane {

void RandomGenerator::randomize()
{
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto msToday = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
    m_seed = uint32_t(msToday);
}

} // namespace corvane
