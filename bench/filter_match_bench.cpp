// The filter list test of window titles, over 10000 realistic patterns and 1000 titles, beside
// the C library's fnmatch with case folding (backslash literal, as in titles) on the same
// patterns; prints how many times faster.
#include <benchmark/benchmark.h>
#include <fnmatch.h>

#include <clocale>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_patterns.h"
#include "closing/filter_list.h"
#include "heap_counter.h"

namespace {

using namespace bench;

struct Data {
    std::vector<std::u16string> patterns, titles;
    std::vector<std::string> patterns8, titles8;
    FilterList list;
};

const Data& TheData() {
    static const Data data = [] {
        Data d;
        std::mt19937 random(20261207);
        for (int i = 0; i < 10000; ++i)
            d.patterns.push_back(Pattern(random));
        for (int i = 0; i < 1000; ++i)
            d.titles.push_back(Title(random));
        for (const auto& p : d.patterns)
            d.patterns8.push_back(Utf8(p));
        for (const auto& t : d.titles)
            d.titles8.push_back(Utf8(t));
        d.list = FilterList(d.patterns);
        return d;
    }();
    return data;
}

int CountFilteredByList() {
    const Data& d = TheData();
    int filtered = 0;
    for (const auto& title : d.titles)
        filtered += d.list.Matches(PrepareForMatching(title)) ? 1 : 0;
    return filtered;
}

int CountFilteredByFnmatch() {
    const Data& d = TheData();
    int filtered = 0;
    for (const auto& title : d.titles8) {
        for (const auto& pattern : d.patterns8) {
            if (fnmatch(pattern.c_str(), title.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0) {
                ++filtered;
                break;
            }
        }
    }
    return filtered;
}

void BM_IsFilteredTitle(benchmark::State& state) {
    int filtered = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(filtered = CountFilteredByList());
    state.counters["filtered_titles"] = filtered;
}
BENCHMARK(BM_IsFilteredTitle)->Unit(benchmark::kMillisecond);

void BM_FnmatchCasefold(benchmark::State& state) {
    int filtered = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(filtered = CountFilteredByFnmatch());
    state.counters["filtered_titles"] = filtered;
}
BENCHMARK(BM_FnmatchCasefold)->Unit(benchmark::kMillisecond);

// The worst case of a close-all run: 10000 patterns that a matcher retrying its stars would walk
// back and forth (a star, 100 A, then C B), against 200 titles of 126 A and a B; beside the
// plain comparison of each title with each pattern's text.
struct Adversarial {
    std::vector<std::u16string> patterns, titles;
    FilterList list;
};

const Adversarial& TheAdversarial() {
    static const Adversarial data = [] {
        Adversarial a;
        a.patterns.assign(10000, u"*" + std::u16string(100, u'A') + u"CB");
        a.titles.assign(200, std::u16string(126, u'A') + u"B");
        a.list = FilterList(a.patterns);
        return a;
    }();
    return data;
}

void BM_AdversarialIsFilteredTitle(benchmark::State& state) {
    const Adversarial& a = TheAdversarial();
    int filtered = 0;
    for (auto _ : state) {
        for (const auto& title : a.titles)
            filtered += a.list.Matches(PrepareForMatching(title)) ? 1 : 0;
        benchmark::DoNotOptimize(filtered);
    }
}
BENCHMARK(BM_AdversarialIsFilteredTitle)->Unit(benchmark::kMillisecond);

void BM_AdversarialPlainCompare(benchmark::State& state) {
    const Adversarial& a = TheAdversarial();
    int equal = 0;
    for (auto _ : state) {
        for (const auto& title : a.titles) {
            for (const auto& pattern : a.patterns)
                equal += title.compare(0, pattern.size(), pattern) == 0 ? 1 : 0;
        }
        benchmark::DoNotOptimize(equal);
    }
}
BENCHMARK(BM_AdversarialPlainCompare)->Unit(benchmark::kMillisecond);

// The same worst case for program lines, whose names and paths are not cut: 10000 lines of a
// star, 114 A and "C*" against a window whose program's name has 230 characters (226 A and
// ".exe") in a path of 260; tested against the name, against the path (a backslash in the
// line), and with an X in place of the C, which the name has near its end, so that no quick
// test spares the matcher the name's every character: once as plain characters, and once after
// a question mark; each is found in one pass over the name.
const std::u16string kLongName = std::u16string(226, u'a') + u".exe";
const std::u16string kLongPath = u"C:\\Program Files\\Vendor Tools\\" + kLongName;

struct ProgramCase {
    const char* name;
    std::u16string line;
    FilterList list;
    bool quick;  // a quick test passes over the line: the 1 ms goal applies
};

std::vector<ProgramCase>& ProgramCases() {
    static std::vector<ProgramCase> cases = [] {
        const std::u16string as(114, u'a');
        std::vector<ProgramCase> c = {
            {"program name", u"program:*" + as + u"c*", {}, true},
            {"program path", u"program:*\\*" + as + u"c*", {}, true},
            {"program name, X near its end", u"program:*" + as + u"x*", {}, false},
            {"program name, X near its end, a question mark",
             u"program:*?" + as + u"x*",
             {},
             false},
        };
        for (ProgramCase& one : c)
            one.list = FilterList(std::vector<std::u16string>(10000, one.line));
        return c;
    }();
    return cases;
}

void BM_AdversarialProgram(benchmark::State& state) {
    const ProgramCase& c = ProgramCases()[static_cast<std::size_t>(state.range(0))];
    const PreparedWindow window = PrepareWindow(u"Window", kLongPath);
    int filtered = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(filtered += c.list.Matches(window) ? 1 : 0);
    state.SetLabel(c.name);
    state.counters["filtered"] = filtered;
}
BENCHMARK(BM_AdversarialProgram)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The baseline: each line's text compared with the path, as plainly as strings compare.
void BM_AdversarialProgramPlainCompare(benchmark::State& state) {
    const ProgramCase& c = ProgramCases()[static_cast<std::size_t>(state.range(0))];
    const std::vector<std::u16string> lines(10000, c.line);
    int equal = 0;
    for (auto _ : state) {
        for (const auto& line : lines)
            equal += kLongPath.compare(0, line.size(), line) == 0 ? 1 : 0;
        benchmark::DoNotOptimize(equal);
    }
}
BENCHMARK(BM_AdversarialProgramPlainCompare)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The heap a list built from `patterns` holds once finished, and the most it held while being
// built, in bytes.
struct ListMemory {
    double held, peak;
};
ListMemory MemoryOfList(const std::vector<std::u16string>& patterns) {
    const std::size_t before = gHeapInUse;
    gHeapPeak = before;
    FilterList list;
    for (const auto& pattern : patterns)
        list.Add(pattern);
    list.Finish();
    return {static_cast<double>(gHeapInUse - before), static_cast<double>(gHeapPeak - before)};
}

// The filter file that makes the largest list: as many lines as are read, each of the longest
// kept length (4096 units in a UTF-16 file) and one bracket list of different characters that
// no range can join.
std::vector<std::u16string> LargestFilter() {
    std::u16string line = u"[";
    for (char16_t c = 0x4E00; line.size() < 4095; c += 2)
        line += c;
    line += u"]";
    return std::vector<std::u16string>(kMaxFilterPatterns, line);
}

void PrintMemory() {
    double fileSize = 0;
    for (const auto& pattern : TheData().patterns8)
        fileSize += static_cast<double>(pattern.size() + 2);  // and CR LF
    const ListMemory realistic = MemoryOfList(TheData().patterns);
    std::printf(
        "memory of the 10000-pattern list: %.2fx the file's size, %.0f KB for %.0f KB "
        "(goal: at most 8x)\n",
        realistic.held / fileSize, realistic.held / 1024, fileSize / 1024);
    const ListMemory largest = MemoryOfList(LargestFilter());
    std::printf(
        "largest filter (10000 lines, 4094 characters in a bracket list each): list "
        "%.1f MB, %.1f MB at its peak while built (goal: at most 64 MB)\n",
        largest.held / (1 << 20), largest.peak / (1 << 20));
}

// Keeps each run's time per iteration so that the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    // fnmatch folds case by the locale; the titles are UTF-8.
    std::setlocale(LC_ALL, "C.UTF-8");
    const int ours = CountFilteredByList();
    const int theirs = CountFilteredByFnmatch();
    std::printf("titles filtered: IsFilteredTitle %d, fnmatch %d (of %zu)\n", ours, theirs,
                TheData().titles.size());
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double list = reporter.times["BM_IsFilteredTitle"];
    const double fnmatchTime = reporter.times["BM_FnmatchCasefold"];
    if (list > 0 && fnmatchTime > 0) {
        std::printf("ratio fnmatch / IsFilteredTitle: %.1f (IsFilteredTitle is %.1fx faster)\n",
                    fnmatchTime / list, fnmatchTime / list);
    }
    const double adversarial = reporter.times["BM_AdversarialIsFilteredTitle"];
    const double plain = reporter.times["BM_AdversarialPlainCompare"];
    if (adversarial > 0 && plain > 0) {
        const double perTitle = adversarial / static_cast<double>(TheAdversarial().titles.size());
        std::printf(
            "adversarial set (10000 x '*' + 100 A + 'CB', 200 titles of 126 A + 'B'): "
            "%.3f ms per title (goal: at most 1 ms), %.2fx the plain comparison of the "
            "same strings\n",
            perTitle, adversarial / plain);
    }
    for (std::size_t i = 0; i < ProgramCases().size(); ++i) {
        const std::string suffix = "/" + std::to_string(i);
        const double window = reporter.times["BM_AdversarialProgram" + suffix];
        const double compare = reporter.times["BM_AdversarialProgramPlainCompare" + suffix];
        if (window > 0 && compare > 0) {
            const ProgramCase& c = ProgramCases()[i];
            std::printf(
                "adversarial program lines (%s; 230-character name, 260-character path): "
                "%.3f ms per window (%s), %.2fx the plain comparison of the same strings\n",
                c.name, window, c.quick ? "goal: at most 1 ms" : "no quick test applies",
                window / compare);
        }
    }
    PrintMemory();
    return ours == theirs ? 0 : 1;
}
