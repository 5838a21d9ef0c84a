// Reading the window filter file: its encoding, its lines, and where reading stops.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Fills the buffer with the file's next bytes: the count read, 0 at the end of the file, nothing
// when reading failed.
using FilterFileSource = std::function<std::optional<std::size_t>(std::span<char> buffer)>;

// Turns bytes of the ANSI code page into UTF-16; gets whole lines.
using AnsiDecoder = std::function<std::u16string(std::string_view bytes)>;

struct FilterFileContent {
    std::vector<std::u16string> patterns;  // in file order, each as written
    bool readFailed = false;               // then `patterns` is empty
};

// Reads patterns until the end of the file or until `maxPatterns` are found, whichever comes
// first, so a huge file is read only as far as it is used. CR LF, CR and LF each end a line;
// lines that are empty or hold only spaces are skipped; every other line is one pattern, spaces
// and tabs included. A UTF-8 BOM, a UTF-16 BOM (either byte order), UTF-16 without a BOM whose
// first characters show every other byte zero, or bytes that are valid UTF-8 are decoded as
// such, anything else with `ansi`.
FilterFileContent ReadFilterPatterns(const FilterFileSource& source, const AnsiDecoder& ansi,
                                     std::size_t maxPatterns);
