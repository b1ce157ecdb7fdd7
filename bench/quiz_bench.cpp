// The question draw against a plain reference, and answer reading of a huge box.
#include "quiz/answer_reading.h"
#include "quiz/question_set.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <string>

namespace {

/** The draw written the obvious way: mt19937 reals, floor(r * 10), nested pair counts. */
class ReferenceDraw
{
public:
    explicit ReferenceDraw(unsigned seed) : m_engine(seed) {}

    void generate()
    {
        do {
            distinctFirst = 0;
            distinctSecond = 0;
            for (int k = 0; k < 10; ++k) {
                first[k] = static_cast<float>(std::floor(m_real(m_engine) * 10));
                second[k] = static_cast<float>(std::floor(m_real(m_engine) * 10));
                products[k] = static_cast<std::int16_t>(first[k] * second[k]);
            }
            for (int i = 0; i < 9; ++i)
                for (int j = i + 1; j < 10; ++j)
                    distinctFirst += first[j] != first[i];
            for (int i = 0; i < 9; ++i)
                for (int j = i + 1; j < 10; ++j)
                    distinctSecond += second[j] != second[i];
        } while (distinctSecond != 45 && distinctFirst != 45);
    }

    std::array<float, 10> first{};
    std::array<float, 10> second{};
    std::array<std::int16_t, 10> products{};
    int distinctFirst = 0;
    int distinctSecond = 0;

private:
    std::mt19937 m_engine;
    std::uniform_real_distribution<double> m_real{0.0, 1.0};
};

void GenerateQuestionSet(benchmark::State &state)
{
    quiz::RandomSource random(20261207);
    quiz::QuestionSet set(random);
    for (auto _ : state) {
        set.generateQuestionSet();
        benchmark::DoNotOptimize(set);
    }
}
BENCHMARK(GenerateQuestionSet)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ReferenceGenerateQuestionSet(benchmark::State &state)
{
    ReferenceDraw draw(20261207);
    for (auto _ : state) {
        draw.generate();
        benchmark::DoNotOptimize(draw);
    }
}
BENCHMARK(ReferenceGenerateQuestionSet)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

void ReadAnswerOfAMegabyte(benchmark::State &state)
{
    std::string text;
    for (int i = 0; i < 1 << 18; ++i)
        text += "7 3 ";
    for (auto _ : state)
        benchmark::DoNotOptimize(quiz::readAnswer(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(ReadAnswerOfAMegabyte)->Unit(benchmark::kMillisecond);

void ReadAnswerOfATypicalBox(benchmark::State &state)
{
    const std::string text = "42";
    for (auto _ : state)
        benchmark::DoNotOptimize(quiz::readAnswer(text));
}
BENCHMARK(ReadAnswerOfATypicalBox);

} // namespace

BENCHMARK_MAIN();
