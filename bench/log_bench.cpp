// The operator's log at the size of a long-active station's: 300,000 QSOs, about 100 MB of ADIF as
// a logger exports it. Reading it must take under a second of CPU and keep under 64 bytes a QSO;
// the status of a spot, with that log loaded, must cost under 200 ns.
#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"
#include "modes/BandPlan.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quendra;

constexpr const char* kInstalledCsv = "/usr/share/hamradio-files/cty.csv";
constexpr int kQsos = 300'000;
constexpr int kDistinctCalls = 80'000;

std::optional<EntityNumbers> installedNumbers() {
    std::ifstream in(kInstalledCsv, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    EntityNumbersResult result = parseEntityNumbers(text.str());
    return result.ok() ? std::move(result.numbers) : std::nullopt;
}

const EntityNumbers* numbers() {
    static const std::optional<EntityNumbers> loaded = installedNumbers();
    return loaded ? &*loaded : nullptr;
}

// Deterministic, so every run reads the same log.
class Random {
public:
    std::uint32_t next(std::uint32_t below) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>((state_ >> 33) % below);
    }

private:
    std::uint64_t state_ = 20261207;
};

// Prefixes of countries near and far, so that calls resolve through the whole country table.
constexpr std::array<std::string_view, 24> kPrefixes{"DL", "K",   "W",  "N",  "G",   "F",   "I",  "EA",
                                                     "JA", "VK",  "PY", "LU", "ZS",  "UA",  "UA9", "OH",
                                                     "SM", "VE",  "ZL", "HB", "9A",  "VP2E", "KH6", "OE"};

std::vector<std::string> makeCalls(Random& random) {
    std::vector<std::string> calls;
    calls.reserve(kDistinctCalls);
    for (int i = 0; i < kDistinctCalls; ++i) {
        std::string call(kPrefixes[random.next(kPrefixes.size())]);
        call += static_cast<char>('0' + random.next(10));
        for (std::uint32_t letters = 1 + random.next(3); letters > 0; --letters)
            call += static_cast<char>('A' + random.next(26));
        calls.push_back(std::move(call));
    }
    return calls;
}

struct BandAndMode {
    std::string_view band;
    std::string_view freq;
    std::string_view mode;
    std::string_view submode;
};

constexpr std::array<BandAndMode, 8> kSlots{{{"20m", "14.025300", "CW", ""},
                                             {"40m", "7.074000", "FT8", ""},
                                             {"15m", "21.250000", "SSB", "USB"},
                                             {"80m", "3.573000", "MFSK", "FT4"},
                                             {"10m", "28.080000", "RTTY", ""},
                                             {"17m", "18.100000", "FT8", ""},
                                             {"6m", "50.313000", "FT8", ""},
                                             {"160m", "1.830000", "CW", ""}}};

void addField(std::string& out, std::string_view name, std::string_view value) {
    out += '<';
    out += name;
    out += ':';
    out += std::to_string(value.size());
    out += '>';
    out += value;
    out += ' ';
}

// A header, then records with the twenty fields a logger exports, a third carrying DXCC.
std::string makeLog() {
    Random random;
    const std::vector<std::string> calls = makeCalls(random);
    std::string text = "Generated for the benchmark\n<ADIF_VER:5>3.1.4 <PROGRAMID:5>bench <EOH>\n";
    text.reserve(static_cast<std::size_t>(kQsos) * 340);
    for (int i = 0; i < kQsos; ++i) {
        const std::string& call = calls[random.next(kDistinctCalls)];
        const BandAndMode& slot = kSlots[random.next(kSlots.size())];
        addField(text, "CALL", call);
        addField(text, "QSO_DATE", "20240317");
        addField(text, "TIME_ON", "101500");
        addField(text, "BAND", slot.band);
        addField(text, "FREQ", slot.freq);
        addField(text, "MODE", slot.mode);
        if (!slot.submode.empty())
            addField(text, "SUBMODE", slot.submode);
        addField(text, "RST_SENT", "599");
        addField(text, "RST_RCVD", "579");
        addField(text, "GRIDSQUARE", "JO62QM");
        addField(text, "NAME", "J\xc3\xb6rg Example");
        addField(text, "STATION_CALLSIGN", "ZZ1OPR");
        addField(text, "TX_PWR", "100");
        addField(text, "COMMENT", "tnx QSO 73");
        addField(text, "QSL_SENT", "Y");
        addField(text, "QSL_RCVD", random.next(4) == 0 ? "Y" : "N");
        addField(text, "LOTW_QSL_RCVD", random.next(3) == 0 ? "Y" : "N");
        addField(text, "EQSL_QSL_RCVD", random.next(3) == 0 ? "Y" : "N");
        if (i % 3 == 0)
            addField(text, "DXCC", std::to_string(numbers() ? numbers()->numberOf(call) : 0));
        addField(text, "CQZ", "14");
        addField(text, "ITUZ", "28");
        text += "<EOR>\n";
    }
    return text;
}

const std::string& logText() {
    static const std::string text = makeLog();
    return text;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

// The whole file as one piece, as the first reading at start-up hands it over.
void BM_ReadLog(benchmark::State& state) {
    if (numbers() == nullptr) {
        state.SkipWithError("no installed cty.csv (package hamradio-files)");
        return;
    }
    const std::string& text = logText();
    const auto piece = static_cast<std::size_t>(state.range(0));
    std::size_t qsos = 0;
    std::size_t heapBytes = 0;
    std::size_t ownBytes = 0;
    for (auto _ : state) {
        const std::size_t heapBefore = heapInUse();
        auto log = std::make_unique<OperatorLog>(*numbers());
        for (std::size_t at = 0; at < text.size(); at += piece)
            benchmark::DoNotOptimize(log->feed(std::string_view(text).substr(at, piece)));
        log->finish();
        qsos = log->counts().qsos;
        heapBytes = heapInUse() - heapBefore;
        ownBytes = log->memoryBytes();
        benchmark::DoNotOptimize(log.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["qsos"] = static_cast<double>(qsos);
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["heap_bytes_per_qso"] = static_cast<double>(heapBytes) / static_cast<double>(qsos);
    state.counters["own_bytes_per_qso"] = static_cast<double>(ownBytes) / static_cast<double>(qsos);
}
// Whole, and in the 64 KiB pieces a followed file is read in.
BENCHMARK(BM_ReadLog)->Arg(1 << 30)->Arg(64 * 1024)->Unit(benchmark::kMillisecond)->Iterations(3);

struct SpotAtHand {
    std::u16string call;
    int entity;
    int band;
    ModeGroup group;
};

const OperatorLog& loadedLog() {
    static const std::unique_ptr<OperatorLog> log = [] {
        auto loaded = std::make_unique<OperatorLog>(*numbers());
        loaded->feed(logText());
        loaded->finish();
        return loaded;
    }();
    return *log;
}

// Stations as the cluster brings them: most are calls the log holds, some are new.
std::vector<SpotAtHand> spotsAtHand(std::size_t count) {
    Random random;
    const std::vector<std::string> logged = makeCalls(random);
    std::vector<SpotAtHand> spots;
    constexpr std::array<ModeGroup, 3> kGroups{ModeGroup::CW, ModeGroup::Phone, ModeGroup::Digital};
    for (std::size_t i = 0; i < count; ++i) {
        std::string call = i % 4 == 0 ? "ZZ" + std::to_string(i) + "NEW" : logged[random.next(kDistinctCalls)];
        const int entity = numbers()->numberOf(call);
        spots.push_back(SpotAtHand{std::u16string(call.begin(), call.end()), entity,
                                   static_cast<int>(random.next(static_cast<std::uint32_t>(amateurBands().size()))),
                                   kGroups[random.next(kGroups.size())]});
    }
    return spots;
}

void BM_StatusPerSpot(benchmark::State& state) {
    if (numbers() == nullptr) {
        state.SkipWithError("no installed cty.csv (package hamradio-files)");
        return;
    }
    const OperatorLog& log = loadedLog();
    const std::vector<SpotAtHand> spots = spotsAtHand(1 << 14);
    const NeedRule rule{state.range(0) == 0 ? NeedPolicy::Worked : NeedPolicy::Confirmed, true};
    std::size_t next = 0;
    std::array<int, 6> seen{};
    for (auto _ : state) {
        const SpotAtHand& spot = spots[next];
        next = (next + 1) & (spots.size() - 1);
        const NeedStatus status = log.status(spot.entity, spot.call, spot.band, spot.group, rule);
        ++seen[static_cast<std::size_t>(status)];
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["log_qsos"] = static_cast<double>(log.counts().qsos);
    state.counters["share_worked"] = static_cast<double>(seen[static_cast<std::size_t>(NeedStatus::Worked)]) /
                                     static_cast<double>(state.iterations());
}
// Worked policy, then confirmed with eQSL.
BENCHMARK(BM_StatusPerSpot)->Arg(0)->Arg(1);

// A spot as it arrives: its station resolved to an entity number, then its status.
void BM_EntityAndStatusPerSpot(benchmark::State& state) {
    if (numbers() == nullptr) {
        state.SkipWithError("no installed cty.csv (package hamradio-files)");
        return;
    }
    const OperatorLog& log = loadedLog();
    const std::vector<SpotAtHand> spots = spotsAtHand(1 << 14);
    std::size_t next = 0;
    for (auto _ : state) {
        const SpotAtHand& spot = spots[next];
        next = (next + 1) & (spots.size() - 1);
        const int entity = numbers()->numberOf(spot.call);
        benchmark::DoNotOptimize(log.status(entity, spot.call, spot.band, spot.group, {}));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EntityAndStatusPerSpot);

}  // namespace

BENCHMARK_MAIN();
