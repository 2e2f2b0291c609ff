#pragma once
// The outcome of checking what the user typed into a page's box: a value, or the text that
// refuses it, which the page shows in its warning. Standard C++ only.

#include <optional>
#include <string>

template <class Value>
struct Checked {
    std::optional<Value> value;
    std::wstring refusal;
};
