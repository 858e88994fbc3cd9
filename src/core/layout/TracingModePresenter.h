#pragma once

namespace md {

/// The tracing mode dialog: value 0 for tracing mode 1, 1 for tracing mode 2; the checked
/// radio follows the value.
class TracingModePresenter
{
public:
    static constexpr int kDialogId = 20100;
    static constexpr int kModeOneId = 20500;
    static constexpr int kModeTwoId = 20501;

    explicit TracingModePresenter(int value) : m_value(value == 1 ? 1 : 0) {}

    int Value() const { return m_value; }
    int CheckedRadio() const { return m_value == 1 ? kModeTwoId : kModeOneId; }
    void RadioClicked(int id) { m_value = id == kModeTwoId ? 1 : 0; }

private:
    int m_value;
};

} // namespace md
