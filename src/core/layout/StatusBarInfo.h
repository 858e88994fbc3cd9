#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace md {

class Prompter;
class Texts;

/// What the tracing status bar shows. Each setter changes the display only when its value
/// differs; the two finishing texts are also announced in a message box.
class StatusBarInfo
{
public:
    StatusBarInfo(const Texts& texts, Prompter& prompter);

    void SetSelectedCell(int column, int row);
    void SetCurrentCell(int row, int column);
    void SetGroup(std::uint16_t group);
    void SetRow(std::uint32_t row);
    void SetRowPosition(std::uint32_t position);
    void SetStatusText(const std::u16string& text);

    int SelectedColumn() const { return m_selectedColumn; }
    int SelectedRow() const { return m_selectedRow; }
    int CurrentRow() const { return m_currentRow; }
    int CurrentColumn() const { return m_currentColumn; }
    std::uint16_t Group() const { return m_group; }
    std::uint32_t Row() const { return m_row; }
    std::uint32_t RowPosition() const { return m_rowPosition; }
    const std::u16string& StatusText() const { return m_statusText; }
    /// Number of changes shown so far; a view repaints when it grows.
    unsigned Changes() const { return m_changes; }
    /// Called after every change shown (the view repaints the field).
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void Changed();

    const Texts& m_texts;
    Prompter& m_prompter;
    int m_selectedColumn = 0;
    int m_selectedRow = 0;
    int m_currentRow = 0;
    int m_currentColumn = 0;
    std::uint16_t m_group = 0;
    std::uint32_t m_row = 0;
    std::uint32_t m_rowPosition = 0;
    std::u16string m_statusText;
    unsigned m_changes = 0;
    std::function<void()> m_onChange;
};

} // namespace md
