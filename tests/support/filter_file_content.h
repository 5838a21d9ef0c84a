// The filter file's patterns collected into a list, for the unit tests and the fuzz target that
// compare whole readings.
#pragma once

#include <string>
#include <vector>

#include "closing/filter_file.h"

struct FilterFileContent {
    std::vector<std::u16string> patterns;  // in file order, as written, star runs as one
    bool readFailed = false;               // then `patterns` is empty
};

// ReadFilterPatterns, collected: a cut line appears as an empty pattern.
inline FilterFileContent ReadFilterPatterns(const FilterFileSource& source, const AnsiDecoder& ansi,
                                            std::size_t maxPatterns) {
    FilterFileContent content;
    const PatternSink collect = [&](std::u16string_view pattern, bool) {
        content.patterns.emplace_back(pattern);
    };
    if (!ReadFilterPatterns(source, ansi, maxPatterns, collect))
        return {{}, true};
    return content;
}
