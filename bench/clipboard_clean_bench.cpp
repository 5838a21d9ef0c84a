// Cleaning 100 MB of clipboard text, against a plain copy of the same text in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "clipboard/clipboard_text.h"
#include "heap_counter.h"

namespace {

constexpr std::size_t kTextBytes = 100u << 20;
constexpr std::size_t kTextUnits = kTextBytes / sizeof(char16_t);
// The step between two rounds of message processing in the program.
constexpr std::size_t kChunkUnits = 1u << 20;

// Text as people copy it: prose and code with CR LF line ends and tabs, some accented letters,
// CJK and emoji, a page break now and then and the odd escape sequence or bell from a terminal.
std::u16string RealisticText() {
    const std::u16string lines[] = {
        u"The quarterly figures were sent to all departments on Monday morning.",
        u"\tif (count > limit) { return Status::kOverflow; }",
        u"Grüße aus Köln, wir sehen uns nächste Woche in Zürich.",
        u"会议将于下午三点在二楼会议室举行。",
        u"Thanks for the update \U0001F44D see you at the stand-up \U0001F600",
        u"Name\tDepartment\tExtension\tRoom",
        u"\x1B[1;32mOK\x1B[0m build finished in 12.4 s",
        u"",
    };
    std::mt19937 random(42);
    std::u16string text;
    text.reserve(kTextUnits + 256);
    std::size_t sincePageBreak = 0;
    while (text.size() < kTextUnits) {
        // Terminal lines are rare; ordinary lines make up almost everything.
        std::size_t pick = random() % 64;
        const std::u16string& line = pick < 2 ? lines[6] : lines[pick % 8 == 6 ? 0 : pick % 8];
        text += line;
        text += u"\r\n";
        if ((sincePageBreak += line.size()) > 3000) {
            text += u'\f';
            sincePageBreak = 0;
        }
    }
    text.resize(kTextUnits);
    return text;
}

// The worst kind: a control character in every few units, so that no stretch is clean.
std::u16string DenseControlText() {
    std::mt19937 random(7);
    std::u16string text(kTextUnits, u'x');
    for (char16_t& c : text) {
        if (random() % 8 == 0)
            c = static_cast<char16_t>(random() % 32);
    }
    return text;
}

const std::u16string& Source(int kind) {
    static const std::u16string realistic = RealisticText();
    static const std::u16string dense = DenseControlText();
    return kind == 0 ? realistic : dense;
}

void BM_PlainCopy(benchmark::State& state) {
    const std::u16string& source = Source(static_cast<int>(state.range(0)));
    std::vector<char16_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kTextBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
}

void BM_CleanInPlace(benchmark::State& state) {
    const std::u16string& source = Source(static_cast<int>(state.range(0)));
    std::vector<char16_t> work(source.size());
    std::size_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), source.data(), kTextBytes);
        std::size_t heapBefore = gHeapInUse;
        gHeapPeak = heapBefore;
        state.ResumeTiming();
        kept = RemoveControlCharacters(work.data(), work.size(), work.size(), [] {
                   return true;
               }).length;
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
        state.PauseTiming();
        state.counters["heap_per_text"] = static_cast<double>(gHeapPeak - heapBefore) / kTextBytes;
        state.ResumeTiming();
    }
    state.counters["kept"] = static_cast<double>(kept) / source.size();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
}

// What the program does with the clipboard's text: copy it out into a fresh buffer of its own,
// then clean that in steps with a pause for messages after each. Its baseline is the same copy
// into a fresh buffer without the cleaning, as the fresh memory's first touch costs the same in
// both. The heap counter is the memory the operation held at its peak beside the clipboard's
// own copy, per byte of text. With the trim and join options on, the cleaned text is then shaped
// in the same buffer, which grows where joining lengthens the text.
void CopyOut(benchmark::State& state, bool clean, TextShape shape = {}) {
    const std::u16string& source = Source(static_cast<int>(state.range(0)));
    std::size_t pauses = 0;
    double heapPerText = 0;
    for (auto _ : state) {
        std::size_t heapBefore = gHeapInUse;
        gHeapPeak = heapBefore;
        std::unique_ptr<char16_t[]> own(new char16_t[source.size() + 1]);
        std::memcpy(own.get(), source.data(), kTextBytes);
        std::size_t length = source.size();
        if (clean) {
            length = RemoveControlCharacters(own.get(), source.size(), kChunkUnits, [&] {
                         return ++pauses != 0;
                     }).length;
        }
        if (shape.trim || shape.joinLines) {
            length = ShapeText(own.get(), length, source.size(), shape, [&](std::size_t units) {
                         std::unique_ptr<char16_t[]> larger(new char16_t[units + 1]);
                         std::memcpy(larger.get(), own.get(), kTextBytes);
                         own = std::move(larger);
                         return own.get();
                     })->length;
        }
        own[length] = u'\0';
        benchmark::DoNotOptimize(own.get());
        benchmark::ClobberMemory();
        heapPerText = static_cast<double>(gHeapPeak - heapBefore) / kTextBytes;
    }
    state.counters["heap_per_text"] = heapPerText;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
}

void BM_CopyOutPlain(benchmark::State& state) {
    CopyOut(state, false);
}
void BM_CopyOutAndCleanInSteps(benchmark::State& state) {
    CopyOut(state, true);
}
void BM_CopyOutCleanTrimAndJoin(benchmark::State& state) {
    CopyOut(state, true, {true, true});
}

BENCHMARK(BM_PlainCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CleanInPlace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyOutPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyOutAndCleanInSteps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyOutCleanTrimAndJoin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each run's time, so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
                auto heap = run.counters.find("heap_per_text");
                if (heap != run.counters.end())
                    heap_[run.benchmark_name()] = heap->second;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        const char* kinds[] = {"realistic text", "a control character in every 8 units"};
        for (int kind = 0; kind < 2; ++kind) {
            std::string arg = "/" + std::to_string(kind) + "/real_time";
            std::printf("\n%s, 100 MB:\n", kinds[kind]);
            // The goal is for what the program does; the bare pass is shown for comparison.
            struct Line {
                const char* name;
                const char* baseline;
                const char* goal;
            };
            for (auto [name, baseline, goal] :
                 {Line{"BM_CleanInPlace", "BM_PlainCopy", ""},
                  Line{"BM_CopyOutAndCleanInSteps", "BM_CopyOutPlain",
                       " (goal: at most 2x the copy, heap at most 2x the text)"},
                  Line{"BM_CopyOutCleanTrimAndJoin", "BM_CopyOutPlain",
                       " (goal: at most 2x the copy)"}}) {
                auto time = times_.find(name + arg);
                auto base = times_.find(baseline + arg);
                if (time == times_.end() || base == times_.end())
                    continue;
                auto heap = heap_.find(name + arg);
                std::printf("  %-26s %.2fx %s, heap %.2fx the text%s\n", name,
                            time->second / base->second, baseline,
                            heap == heap_.end() ? 0.0 : heap->second, goal);
            }
        }
    }

  private:
    std::map<std::string, double> times_;
    std::map<std::string, double> heap_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
