#include "random_source.h"

#include <chrono>

namespace quiz {

namespace {

std::uint64_t splitMix64(std::uint64_t &state) noexcept
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

} // namespace

RandomSource::RandomSource(std::uint64_t seed) noexcept
{
    // SplitMix64 never yields four zero words in a row, so the state is never all zero.
    for (auto &word : m_state)
        word = splitMix64(seed);
}

RandomSource RandomSource::fromClock() noexcept
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto tick = std::chrono::steady_clock::now().time_since_epoch();
    return RandomSource(static_cast<std::uint64_t>(now.count()) ^
                        (static_cast<std::uint64_t>(tick.count()) << 32));
}

} // namespace quiz
