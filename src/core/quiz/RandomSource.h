#pragma once

#include <cstdint>
#include <random>

// Uniform numbers r with 0 <= r < 1 for the quiz: the question order and the practice rows.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // The next number; implementations keep it inside [0, 1).
    virtual double next() = 0;

    // Starts a fresh sequence; each Start calls it so two quizzes never share an order.
    virtual void reseed() {}
};

// floor(r * count) for a row count >= 1, kept inside 0..count-1 even when a source hands out
// something outside [0, 1) (NaN and negatives give 0, 1 and above give the last index).
int randomIndex(RandomSource& random, int count);

// The generator the program plays with: 64-bit Mersenne Twister, seeded from the system's
// entropy source mixed with the clock at every reseed().
class SystemRandomSource : public RandomSource {
public:
    SystemRandomSource();
    // A fixed seed, for reproducible runs (statistics, benchmarks).
    explicit SystemRandomSource(std::uint64_t seed);

    double next() override;
    void reseed() override;

private:
    std::mt19937_64 m_engine;
};
