#include "core/layout/StatusBarInfo.h"

#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

namespace md {

namespace {

template <typename T>
bool Assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

StatusBarInfo::StatusBarInfo(const Texts& texts, Prompter& prompter)
    : m_texts(texts), m_prompter(prompter), m_statusText(texts.Text("IDS_MODULE_STEP5DLG_START_EP"))
{}

void StatusBarInfo::Changed()
{
    ++m_changes;
    if (m_onChange)
        m_onChange();
}

void StatusBarInfo::SetSelectedCell(int column, int row)
{
    const bool a = Assign(m_selectedColumn, column);
    if (Assign(m_selectedRow, row) || a)
        Changed();
}

void StatusBarInfo::SetCurrentCell(int row, int column)
{
    const bool a = Assign(m_currentRow, row);
    if (Assign(m_currentColumn, column) || a)
        Changed();
}

void StatusBarInfo::SetGroup(std::uint16_t group)
{
    if (Assign(m_group, group))
        Changed();
}

void StatusBarInfo::SetRow(std::uint32_t row)
{
    if (Assign(m_row, row))
        Changed();
}

void StatusBarInfo::SetRowPosition(std::uint32_t position)
{
    if (Assign(m_rowPosition, position))
        Changed();
}

void StatusBarInfo::SetStatusText(const std::u16string& text)
{
    if (!Assign(m_statusText, text))
        return;
    Changed();
    if (!text.empty() && (text == m_texts.Text("IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH") ||
                          text == m_texts.Text("IDS_MODULE_EPSTATUS_BAR_EP_FINISH")))
        m_prompter.Ask(PromptButtons::Ok, m_texts.Text("IDS_MODULE_FIRSETDLG_PROMPT"), text);
}

} // namespace md
