#include "core/quiz/RandomSource.h"

#include <chrono>
#include <cmath>

int randomIndex(RandomSource& random, int count) {
    if (count <= 1)
        return 0;
    const double r = random.next();
    if (!(r > 0.0)) // also NaN
        return 0;
    if (r >= 1.0)
        return count - 1;
    const int index = static_cast<int>(std::floor(r * count));
    return index < count ? index : count - 1;
}

SystemRandomSource::SystemRandomSource() {
    reseed();
}

SystemRandomSource::SystemRandomSource(std::uint64_t seed)
    : m_engine(seed) {}

double SystemRandomSource::next() {
    // The top 53 bits give every double in [0, 1) on a 2^-53 grid; never 1.0, unlike
    // generate_canonical in some libraries.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

void SystemRandomSource::reseed() {
    std::random_device device;
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seeds{device(),
                        device(),
                        device(),
                        device(),
                        static_cast<unsigned>(ticks),
                        static_cast<unsigned>(ticks >> 32)};
    m_engine.seed(seeds);
}
