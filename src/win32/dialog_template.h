// An in-memory dialog template, so that a dialog built in code gets the dialog manager's keyboard
// interface (Tab order, Enter for the default button, Esc and the close box as Cancel, access
// keys).
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

class DialogTemplate {
  public:
    // Items are placed in pixels once the dialog knows its DPI; the template leaves them at 0.
    DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* title, WORD points,
                   const wchar_t* font) {
        Dword(style);
        Dword(exStyle);
        countAt_ = words_.size();
        Word(0);                             // item count, set as items are added
        Word(0), Word(0), Word(0), Word(0);  // position and size
        Word(0);                             // no menu
        Word(0);                             // the standard dialog class
        Text(title);
        Word(points);
        Text(font);
    }

    // A control of a predefined class, given by its atom (kButtonAtom and the like).
    void Add(WORD atom, DWORD style, WORD id, const wchar_t* text) {
        if (words_.size() % 2)
            Word(0);  // items start on a DWORD boundary
        Dword(style);
        Dword(0);
        Word(0), Word(0), Word(0), Word(0);
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text ? text : L"");
        Word(0);  // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

    static constexpr WORD kButtonAtom = 0x0080;
    static constexpr WORD kStaticAtom = 0x0082;
    static constexpr WORD kComboBoxAtom = 0x0085;

  private:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text)
            Word(static_cast<WORD>(*text));
        Word(0);
    }

    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
};
