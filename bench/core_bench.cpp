// One full recomputation as the window runs it on a keystroke: ship-type
// selection, score, format. And the number conversion alone.

#include <benchmark/benchmark.h>

#include "number_conversion.h"
#include "score.h"
#include "score_format.h"
#include "ship_types.h"

namespace {

void Recompute(benchmark::State& state)
{
    const kvorn::ScoreInputs inputs = {"3000", "2000", "14,5", "35", "0,5", "100", "400", "24"};
    kvorn::ShipCoefficients coefficients;
    for (auto _ : state) {
        kvorn::SelectShipType("Фрегат", coefficients);
        kvorn::ScoreResult result = kvorn::ComputeScore(inputs, "Фрегат", coefficients, U',');
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(Recompute);

void Convert(benchmark::State& state)
{
    for (auto _ : state) {
        kvorn::Extended value = kvorn::ConvertNumber("14,5", U',');
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(Convert);

void Format(benchmark::State& state)
{
    double score = 122.0537;
    for (auto _ : state) {
        benchmark::DoNotOptimize(score);
        std::string text = kvorn::FormatScore(score);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(Format);

}  // namespace

BENCHMARK_MAIN();
