// Reading the window filter file: its encoding, its lines, and where reading stops.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Fills the buffer with the file's next bytes: the count read, 0 at the end of the file, nothing
// when reading failed.
using FilterFileSource = std::function<std::optional<std::size_t>(std::span<char> buffer)>;

// Turns bytes of the ANSI code page into UTF-16; gets whole lines.
using AnsiDecoder = std::function<std::u16string(std::string_view bytes)>;

// Receives each pattern in file order; `cut` marks a line too long to keep (its text is not
// given), which takes a place in the list but never matches.
using PatternSink = std::function<void(std::u16string_view pattern, bool cut)>;

// Reads patterns until the end of the file or until `maxPatterns` are found, whichever comes
// first, so a huge file is read only as far as it is used. CR LF, CR and LF each end a line;
// lines that are empty or hold only spaces are skipped; every other line is one pattern, spaces
// and tabs included. A UTF-8 BOM, a UTF-16 BOM (either byte order), UTF-16 without a BOM whose
// first characters show every other byte zero, or bytes that are valid UTF-8 are decoded as
// such, anything else with `ansi`.
// False when reading failed; the sink then has received nothing. Reading keeps the kept lines
// in one buffer and at most one chunk of the file besides.
bool ReadFilterPatterns(const FilterFileSource& source, const AnsiDecoder& ansi,
                        std::size_t maxPatterns, const PatternSink& sink);
