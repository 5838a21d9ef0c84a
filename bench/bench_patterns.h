// Filter patterns and window titles as users have them, generated from a fixed seed; shared by
// the matching benchmark and the memory benchmark's filter file.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace bench {

inline std::string Utf8(std::u16string_view text) {
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

inline const std::vector<std::u16string> kApps = {u"Notepad",
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
inline const std::vector<std::u16string> kWords = {
    u"report",  u"budget",   u"invoice", u"notes",  u"draft",        u"Q3 plan",
    u"meeting", u"todo",     u"letter",  u"résumé", u"Übersicht",    u"photo",
    u"backup",  u"readme",   u"thesis",  u"Straße", u"contract",     u"agenda",
    u"minutes", u"schedule", u"отчёт",   u"予定表", u"release notes"};
inline const std::vector<std::u16string> kExts = {u"txt", u"docx", u"xlsx", u"pdf", u"md", u"cpp"};

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& items) {
    return items[random() % items.size()];
}

inline std::u16string Number(std::mt19937& random) {
    std::u16string digits;
    for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i) {
        digits += static_cast<char16_t>(u'0' + random() % 10);
    }
    return digits;
}

inline std::u16string Title(std::mt19937& random) {
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

inline const std::vector<std::u16string> kSyllables = {
    u"Zen",  u"tro",  u"Blue", u"led", u"ger",   u"Sync",  u"Nova", u"mark",
    u"Flow", u"desk", u"Pix",  u"el",  u"Quant", u"Orbit", u"Ver",  u"sa"};

// Most of a long filter list names programs this desktop does not run.
inline std::u16string Elsewhere(std::mt19937& random) {
    return Pick(random, kSyllables) + Pick(random, kSyllables) + u" " + Pick(random, kSyllables);
}

inline std::u16string App(std::mt19937& random) {
    return random() % 100 == 0 ? Pick(random, kApps) : Elsewhere(random);
}

inline std::u16string Word(std::mt19937& random) {
    return random() % 800 == 0 ? Pick(random, kWords) : Elsewhere(random);
}

// Patterns as users write them: exact titles, prefixes, suffixes, words anywhere, a question mark
// or a bracket list for a changing part. No number sign, which fnmatch does not know.
inline std::u16string Pattern(std::mt19937& random) {
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

}  // namespace bench
