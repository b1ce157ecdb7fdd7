// The program's one source of randomness: xoshiro256** seeded through SplitMix64.
// Fast enough for the question draw, which asks for some 27,500 digits per set.
#pragma once

#include <array>
#include <cstdint>

namespace quiz {

class RandomSource
{
public:
    /** A source whose whole sequence is fixed by `seed` (any value, 0 included). */
    explicit RandomSource(std::uint64_t seed) noexcept;

    /** A source seeded from the system clock: a different sequence on every run. */
    static RandomSource fromClock() noexcept;

    /** 64 uniformly distributed bits. */
    std::uint64_t next() noexcept
    {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    /**
     * Ten independent, exactly uniform digits 0 to 9, handed out two at a time: each of the
     * five numbers 0 to 99 is a pair of consecutive digits, the earlier one in the tens.
     *
     * 57 random bits z are read as the binary fraction z / 2^57 and its first ten decimal digits
     * are taken. Those digits form floor(z * 10^10 / 2^57); the few values of z that would make
     * some of those numbers more likely than others (about six in a hundred million) are drawn
     * again, so every block of ten digits, hence every digit, is exactly uniform. 57 bits leave
     * room above the fraction for two digits, so each pair costs one multiplication by a hundred
     * in an ordinary 64-bit register.
     */
    std::array<std::uint8_t, 5> fiveDigitPairs() noexcept
    {
        constexpr int fractionBits = 57;
        constexpr std::uint64_t fractionMask = (std::uint64_t{1} << fractionBits) - 1;
        constexpr std::uint64_t blockSize = 10'000'000'000;
        constexpr std::uint64_t overhang = (fractionMask + 1) % blockSize;
        std::uint64_t z = next() >> (64 - fractionBits);
        while (((z * blockSize) & fractionMask) < overhang)
            z = next() >> (64 - fractionBits);
        // The fraction left after six digits is z * 10^6 mod 2^57, so pairs 4 and 5 are taken
        // alongside pairs 1 to 3 rather than after them.
        std::uint64_t head = z;
        std::uint64_t tail = (z * 1'000'000) & fractionMask;
        std::array<std::uint8_t, 5> pairs;
        for (std::size_t i = 0; i < 3; ++i) {
            head *= 100;
            pairs[i] = static_cast<std::uint8_t>(head >> fractionBits);
            head &= fractionMask;
        }
        for (std::size_t i = 3; i < 5; ++i) {
            tail *= 100;
            pairs[i] = static_cast<std::uint8_t>(tail >> fractionBits);
            tail &= fractionMask;
        }
        return pairs;
    }

private:
    static constexpr std::uint64_t rotl(std::uint64_t x, int k) noexcept
    {
        return (x << k) | (x >> (64 - k));
    }

    std::array<std::uint64_t, 4> m_state{};
};

} // namespace quiz
