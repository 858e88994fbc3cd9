#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace md {

/// printf-style formatting of numbers for the cell design's texts, independent of the process
/// locale, and safe with formats that come from the language files: conversions beyond the given
/// values, or ones other than d, i, u, f, e and g, are copied as text.
class CellTextFormat
{
public:
    static std::u16string Format(std::u16string_view format, std::initializer_list<double> values);
};

} // namespace md
