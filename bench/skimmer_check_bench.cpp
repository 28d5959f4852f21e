// Judging a skimmer spot costs what the reports near its frequency cost, not what the whole
// ten-minute window holds: the check looks only at its frequency buckets of 0.3 kHz. The
// stream is skimmer-like: 2,000 stations on CW segments of 40m and 20m, each heard by some of
// 100 skimmers, one report in fifty a busted call, a human spot now and then; 50 reports a
// second fill the window with 30,000. The baseline judges each report by walking the window.
#include "skimmer/KnownCalls.h"
#include "skimmer/SkimmerCheck.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quendra;

// CW segments the stations spread over, in kHz.
constexpr std::pair<double, double> kSegments[] = {{1800, 1840}, {3500, 3570}, {7000, 7040},  {10100, 10130},
                                                   {14000, 14070}, {18068, 18095}, {21000, 21070}, {28000, 28070}};

struct Station {
    std::u16string call;
    double kHz;
};

// Calls drawn at random (a prefix letter pair, a digit, two or three letters), so two of them are
// rarely one character apart, as on the air.
std::vector<Station> stations(std::size_t count, std::uint32_t& random) {
    const auto next = [&random] { return random = random * 1'103'515'245u + 12'345u; };
    std::vector<Station> out;
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string call{static_cast<char16_t>(u'A' + next() / 7 % 26), static_cast<char16_t>(u'A' + next() / 7 % 26),
                            static_cast<char16_t>(u'0' + next() / 7 % 10)};
        for (std::uint32_t letters = 2 + next() / 7 % 2; letters > 0; --letters)
            call += static_cast<char16_t>(u'A' + next() / 7 % 26);
        const auto& segment = kSegments[next() / 7 % std::size(kSegments)];
        const double kHz = segment.first + static_cast<double>(next() / 7 % 10'000) / 10'000.0 * (segment.second - segment.first);
        out.push_back({call, std::round(kHz * 10) / 10});
    }
    return out;
}

std::vector<SkimmerReport> stream(std::size_t count, int perSecond) {
    std::uint32_t random = 12345;
    const std::vector<Station> on = stations(2000, random);
    const auto next = [&random] { return random = random * 1'103'515'245u + 12'345u; };
    std::vector<SkimmerReport> reports;
    reports.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Station& station = on[next() / 7 % on.size()];
        std::u16string call = station.call;
        if (next() / 7 % 50 == 0)
            call.back() = static_cast<char16_t>(u'A' + (call.back() - u'A' + 1) % 26);
        const bool human = next() / 7 % 40 == 0;
        std::u16string spotter = u"ZY" + std::u16string(1, static_cast<char16_t>(u'0' + next() / 7 % 10)) +
                                 std::u16string(1, static_cast<char16_t>(u'A' + next() / 7 % 10));
        if (!human)
            spotter += u"-#";
        const double drift = static_cast<double>(next() / 7 % 3) * 0.1 - 0.1;
        reports.push_back({i + 1, call, spotter, station.kHz + drift, static_cast<std::int64_t>(i) / perSecond, !human});
    }
    return reports;
}

KnownCalls installedKnownCalls() {
    std::ifstream file("/usr/share/hamradio-files/MASTER.SCP", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return KnownCalls::fromText(text.str());
}

// Reports per second of the stream, as benchmark argument 0; the window then holds 600 times that.
void BM_SkimmerCheck(benchmark::State& state) {
    const auto reports = stream(200'000, static_cast<int>(state.range(0)));
    const KnownCalls known = state.range(1) ? installedKnownCalls() : KnownCalls{};
    SkimmerCheck check(&known);
    std::size_t i = 0;
    // Fill the window first, so every timed report meets a full one.
    for (; i < 600 * static_cast<std::size_t>(state.range(0)); ++i)
        check.add(reports[i]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(check.add(reports[i]));
        if (++i == reports.size()) {
            state.PauseTiming();
            check = SkimmerCheck(&known);
            for (i = 0; i < 600 * static_cast<std::size_t>(state.range(0)); ++i)
                check.add(reports[i]);
            state.ResumeTiming();
        }
    }
    state.counters["held"] = static_cast<double>(check.reportsHeld());
    state.counters["known"] = static_cast<double>(known.size());
}
BENCHMARK(BM_SkimmerCheck)->Args({5, 0})->Args({50, 0})->Args({50, 1});

// The baseline: each report judged (verified by two skimmers or a human, else busted) by walking
// every report in the window.
void BM_SkimmerCheckByWalkingTheWindow(benchmark::State& state) {
    const int perSecond = static_cast<int>(state.range(0));
    const auto reports = stream(200'000, perSecond);
    std::deque<const SkimmerReport*> window;
    std::size_t i = 0;
    for (auto _ : state) {
        const SkimmerReport& report = reports[i];
        while (!window.empty() && window.front()->seconds < report.seconds - SkimmerCheck::kWindowSeconds)
            window.pop_front();
        window.push_back(&report);
        int same = 0;
        int near = 0;
        for (const SkimmerReport* other : window) {
            if (std::abs(other->kHz - report.kHz) > SkimmerCheck::kToleranceKHz)
                continue;
            if (other->call == report.call)
                ++same;
            else if (oneEditApart(other->call, report.call))
                ++near;
        }
        benchmark::DoNotOptimize(same + near);
        if (++i == reports.size()) {
            i = 0;
            window.clear();
        }
    }
    state.counters["held"] = static_cast<double>(window.size());
}
BENCHMARK(BM_SkimmerCheckByWalkingTheWindow)->Arg(5)->Arg(50);

}  // namespace

BENCHMARK_MAIN();
