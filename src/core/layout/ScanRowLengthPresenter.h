#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace md {

class PointTracer;
class Texts;

/// The scan-row length dialog: its texts, and on OK the entered length becomes the tracer's
/// scan-row length (no range is enforced).
class ScanRowLengthPresenter
{
public:
    static constexpr int kDialogId = 20115;
    static constexpr int kLabelId = 20565;
    static constexpr int kFieldId = 20564;

    ScanRowLengthPresenter(PointTracer& tracer, const Texts& texts)
        : m_tracer(tracer), m_texts(texts)
    {}

    std::u16string Title() const;
    std::u16string Label() const;
    std::u16string OkText() const;
    std::u16string CancelText() const;
    /// The length the field shows when the dialog opens.
    std::uint32_t Initial() const;
    /// OK with the field's text: a whole number (leading sign and blanks allowed, as an integer
    /// edit box reads it) becomes the length; false when the text holds none.
    bool Accept(std::string_view text);

private:
    PointTracer& m_tracer;
    const Texts& m_texts;
};

} // namespace md
