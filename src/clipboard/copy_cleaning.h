// Whether a copy is cleaned when every copy is: decided over plain facts about the clipboard.
#pragma once

#include <cstdint>
#include <span>

// The system's standard clipboard formats that matter here, by their fixed numbers.
namespace clipboard_format {
inline constexpr std::uint32_t kText = 1;
inline constexpr std::uint32_t kOemText = 7;
inline constexpr std::uint32_t kUnicodeText = 13;
inline constexpr std::uint32_t kFileList = 15;  // the files of a copy in Explorer
inline constexpr std::uint32_t kLocale = 16;
}  // namespace clipboard_format

struct CopyFacts {
    // Every format the clipboard lists, those the system converts from the text included.
    std::span<const std::uint32_t> formats;
    // The privacy markers' format numbers; 0 for one the system has not registered.
    std::span<const std::uint32_t> privacyMarkers;
    std::uint32_t sequence = 0;      // the clipboard's sequence number
    std::uint32_t lastOwnWrite = 0;  // that number after the program's last write; 0: none
    bool ownerIsOurs = false;        // the clipboard's owner is the program's main window
    bool programExempt = false;      // a copy line names the program that copied
};

enum class CopyCleaning {
    Leave,          // left as it is
    IfTextChanges,  // only text and its locale: cleaned only when the cleaning changes the text
    Always,         // other formats beside the text go
};

// A copy is left alone when it holds no text, when the program wrote it itself, when it carries
// a file list or a privacy marker, or when a copy line names its program.
CopyCleaning DecideCopyCleaning(const CopyFacts& facts);
