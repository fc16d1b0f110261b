#pragma once
// Builds a dialog template in memory, so that framework tests need no
// resource script of their own.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

class DialogTemplateBuilder {
public:
    enum ControlClass : WORD { button = 0x0080, edit = 0x0081, staticText = 0x0082, listBox = 0x0083, comboBox = 0x0085 };

    DialogTemplateBuilder(DWORD style, short x, short y, short cx, short cy, const char* title) {
        style |= DS_SETFONT;
        PutDword(style);
        PutDword(0);  // extended style
        countAt_ = words_.size();
        words_.push_back(0);  // control count
        words_.push_back(static_cast<WORD>(x));
        words_.push_back(static_cast<WORD>(y));
        words_.push_back(static_cast<WORD>(cx));
        words_.push_back(static_cast<WORD>(cy));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // standard dialog class
        PutString(title);
        words_.push_back(8);  // point size
        PutString("MS Sans Serif");
    }

    DialogTemplateBuilder& Add(ControlClass cls, DWORD style, short x, short y, short cx, short cy, WORD id,
                               const char* text = "") {
        if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
        PutDword(style | WS_CHILD | WS_VISIBLE);
        PutDword(0);
        words_.push_back(static_cast<WORD>(x));
        words_.push_back(static_cast<WORD>(y));
        words_.push_back(static_cast<WORD>(cx));
        words_.push_back(static_cast<WORD>(cy));
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(cls);
        PutString(text);
        words_.push_back(0);  // no creation data
        ++words_[countAt_];
        return *this;
    }

    const DLGTEMPLATE* Get() {
        storage_.assign((words_.size() + 1) / 2, 0);
        std::memcpy(storage_.data(), words_.data(), words_.size() * sizeof(WORD));
        return reinterpret_cast<const DLGTEMPLATE*>(storage_.data());
    }

private:
    void PutDword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void PutString(const char* s) {
        for (; *s; ++s) words_.push_back(static_cast<unsigned char>(*s));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    std::vector<DWORD> storage_;
    std::size_t countAt_ = 0;
};
