#include "core/layout/ScanRowLengthPresenter.h"

#include "core/layout/PointTracer.h"
#include "core/platform/Texts.h"

#include <cctype>

namespace md {

std::u16string ScanRowLengthPresenter::Title() const
{
    return m_texts.TextOr("IDS_SCAN_RWO_CONFIG_TITLE", u"扫描行长度配置");
}

std::u16string ScanRowLengthPresenter::Label() const
{
    return m_texts.TextOr("IDS_SCAN_RWO_CONFIG_LEN", u"扫描行长度");
}

std::u16string ScanRowLengthPresenter::OkText() const
{
    return m_texts.TextOr("IDS_MODULE_RANGEDLG_OK", u"确定");
}

std::u16string ScanRowLengthPresenter::CancelText() const
{
    return m_texts.TextOr("IDS_MODULE_RANGEDLG_CANCEL", u"取消");
}

std::uint32_t ScanRowLengthPresenter::Initial() const
{
    return m_tracer.ScanRowLength();
}

bool ScanRowLengthPresenter::Accept(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
        return false;
    std::uint32_t value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        value = value * 10 + static_cast<std::uint32_t>(text[at++] - '0');
    m_tracer.SetScanRowLength(negative ? 0U - value : value);
    return true;
}

} // namespace md
