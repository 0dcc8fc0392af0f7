// One full evaluation (all diagnosis and diet rows) and the evaluator's batch path.
#include <benchmark/benchmark.h>

#include <random>
#include <sstream>
#include <string>

#include "cli/json_batch.h"
#include "engine/evaluation.h"

namespace {

using namespace corvane;

std::vector<Scores> randomScores(std::size_t count) {
    std::mt19937 random(42);
    std::vector<Scores> all(count);
    for (Scores& s : all) {
        Ticks ticks;
        for (std::size_t i = 0; i < ticks.size(); ++i) ticks[i] = random() % 6 == 0;
        s = computeScores(ticks);
    }
    return all;
}

void BM_Evaluate(benchmark::State& state) {
    const auto inputs = randomScores(1024);
    std::size_t next = 0;
    for (auto _ : state) {
        Evaluation evaluation = evaluate(inputs[next++ % inputs.size()], 1);
        benchmark::DoNotOptimize(evaluation);
    }
}
BENCHMARK(BM_Evaluate);

// Stands in for standard output redirected to /dev/null.
class DiscardingBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// --batch over a stream of assessments, as the evaluator reads standard input.
void BM_Batch(benchmark::State& state) {
    std::string input;
    std::mt19937 random(7);
    for (int line = 0; line < 10000; ++line) {
        input.append(R"({"ticks": [)");
        for (int t = 0; t < 8; ++t) {
            if (t > 0) input.append(",");
            input.append(std::to_string(random() % 79 + 1));
        }
        input.append(R"(], "personality": )")
            .append(std::to_string(random() % 5 + 1))
            .append("}\n");
    }
    for (auto _ : state) {
        std::istringstream in(input);
        DiscardingBuffer discard;
        std::ostream out(&discard);
        benchmark::DoNotOptimize(cli::evaluateBatch(in, cli::streamOutput(out), out));
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond);

}  // namespace
