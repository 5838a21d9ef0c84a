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

#include "closing/filter_list.h"

namespace {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const std::vector<std::u16string> kApps = {u"Notepad",
                                           u"Microsoft Word",
                                           u"Excel",
                                           u"Mozilla Firefox",
                                           u"Google Chrome",
                                           u"Visual Studio Code",
                                           u"Outlook",
                                           u"Adobe Acrobat Reader",
                                           u"Paint",
                                           u"WordPad",
                                           u"Explorer",
                                           u"Terminal",
                                           u"Thunderbird",
                                           u"GIMP",
                                           u"LibreOffice Calc",
                                           u"Bloc-notes",
                                           u"Editor",
                                           u"Rechner",
                                           u"Calculadora",
                                           u"Блокнот",
                                           u"メモ帳",
                                           u"Éditeur de texte"};
const std::vector<std::u16string> kWords = {
    u"report",  u"budget",   u"invoice", u"notes",  u"draft",        u"Q3 plan",
    u"meeting", u"todo",     u"letter",  u"résumé", u"Übersicht",    u"photo",
    u"backup",  u"readme",   u"thesis",  u"Straße", u"contract",     u"agenda",
    u"minutes", u"schedule", u"отчёт",   u"予定表", u"release notes"};
const std::vector<std::u16string> kExts = {u"txt", u"docx", u"xlsx", u"pdf", u"md", u"cpp"};

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& items) {
    return items[random() % items.size()];
}

std::u16string Number(std::mt19937& random) {
    std::u16string digits;
    for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i) {
        digits += static_cast<char16_t>(u'0' + random() % 10);
    }
    return digits;
}

std::u16string Title(std::mt19937& random) {
    switch (random() % 6) {
        case 0:
            return Pick(random, kWords) + u" " + Number(random) + u"." + Pick(random, kExts) +
                   u" - " + Pick(random, kApps);
        case 1:
            return Pick(random, kApps);
        case 2:
            return u"Inbox - user" + Number(random) + u"@example.com - " + Pick(random, kApps);
        case 3:
            return Pick(random, kWords) + u" (" + Number(random) + u") - " + Pick(random, kApps);
        case 4:
            return u"C:\\Users\\me\\" + Pick(random, kWords) + u"\\" + Pick(random, kWords);
        default:
            return Pick(random, kWords) + u" - " + Pick(random, kWords) + u" " + Number(random);
    }
}

const std::vector<std::u16string> kSyllables = {
    u"Zen",  u"tro",  u"Blue", u"led", u"ger",   u"Sync",  u"Nova", u"mark",
    u"Flow", u"desk", u"Pix",  u"el",  u"Quant", u"Orbit", u"Ver",  u"sa"};

// Most of a long filter list names programs this desktop does not run.
std::u16string Elsewhere(std::mt19937& random) {
    return Pick(random, kSyllables) + Pick(random, kSyllables) + u" " + Pick(random, kSyllables);
}

std::u16string App(std::mt19937& random) {
    return random() % 100 == 0 ? Pick(random, kApps) : Elsewhere(random);
}

std::u16string Word(std::mt19937& random) {
    return random() % 800 == 0 ? Pick(random, kWords) : Elsewhere(random);
}

// Patterns as users write them: exact titles, prefixes, suffixes, words anywhere, a question mark
// or a bracket list for a changing part. No number sign, which fnmatch does not know.
std::u16string Pattern(std::mt19937& random) {
    switch (random() % 8) {
        case 0:
            return random() % 20 == 0 ? Title(random) : Elsewhere(random) + u" - " + App(random);
        case 1:
            return App(random) + u"*";
        case 2:
            return u"* - " + App(random);
        case 3:
            return u"*" + Word(random) + u"*";
        case 4:
            return Word(random) + u" ?." + Pick(random, kExts) + u" - *";
        case 5:
            return u"[0-9a-f]*" + Word(random) + u"*";
        case 6:
            return u"Inbox - user[!0]*@example.com - " + App(random);
        default:
            return Word(random) + u" (?\?) - *";
    }
}

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
        filtered += IsFilteredTitle(d.list, title) ? 1 : 0;
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
    return ours == theirs ? 0 : 1;
}
