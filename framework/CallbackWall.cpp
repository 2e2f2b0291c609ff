#include "framework/CallbackWall.h"

#include <cstring>

namespace {

// A fixed buffer that silently stops at its end.
class LineBuffer {
  public:
    void Append(const wchar_t* text) {
        while (*text != L'\0' && used_ + 1 < kSize) {
            text_[used_++] = *text++;
        }
        text_[used_] = L'\0';
    }
    void AppendHex(UINT value) {
        wchar_t digits[] = L"0x00000000";
        for (int i = 9; i >= 2; --i, value >>= 4) {
            digits[i] = L"0123456789ABCDEF"[value & 0xF];
        }
        Append(digits);
    }
    // what() texts are narrow: UTF-8 where they can be read so, else the ANSI code page. Cut
    // to a length that always leaves room for the line's end.
    void AppendNarrow(const char* text) {
        constexpr int kLongest = 400;
        const int length = static_cast<int>(::strnlen(text, kLongest));
        wchar_t wide[kLongest + 1];
        int written =
            ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, wide, kLongest);
        if (written <= 0) {
            written = ::MultiByteToWideChar(CP_ACP, 0, text, length, wide, kLongest);
        }
        wide[written > 0 ? written : 0] = L'\0';
        Append(wide);
    }
    const wchar_t* Text() const { return text_; }

  private:
    static constexpr std::size_t kSize = 512;
    wchar_t text_[kSize] = {};
    std::size_t used_ = 0;
};

}  // namespace

void ReportStoppedException(UINT message, const char* what) noexcept {
    LineBuffer line;
    line.Append(L"Palvex: exception stopped in the handler of message ");
    line.AppendHex(message);
    line.Append(L": ");
    if (what != nullptr) {
        line.AppendNarrow(what);
    } else {
        line.Append(L"unknown exception");
    }
    line.Append(L"\n");
    ::OutputDebugStringW(line.Text());
}
