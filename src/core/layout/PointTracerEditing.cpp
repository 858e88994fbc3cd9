// Taking tracing steps back, inserting virtual points, and the layout while point-go holds it.
#include "core/layout/PointTracer.h"

#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <utility>

namespace md {

bool PointTracer::RefusedForPointGo() const
{
    if (!m_pointGoSelected)
        return false;
    m_prompter.Ask(PromptButtons::Ok, m_texts.TextOrKey("IDS_MODULE_FIRSETDLG_PROMPT"),
                   m_texts.TextOr("IDS_MD_POINTGO_HOLDS_LAYOUT",
                                  u"Point-go is building the layout: tracing cannot change it "
                                  u"now. Finish point-go, or reset its layout to trace again."));
    return true;
}

void PointTracer::AdoptResult(std::vector<ChannelRow> result)
{
    const LayoutModel::ChangeScope change(m_model);
    if (!m_adopted)
        m_adopted = Adoption{m_result, m_setup ? m_setup->result : std::vector<ChannelRow>{},
                             m_layoutPresent};
    m_result = std::move(result);
    if (m_setup)
        m_setup->result = m_result;
    m_layoutPresent = true;
}

void PointTracer::ReleaseAdopted()
{
    if (!m_adopted)
        return;
    const LayoutModel::ChangeScope change(m_model);
    m_result = std::move(m_adopted->result);
    if (m_setup)
        m_setup->result = std::move(m_adopted->recordResult);
    m_layoutPresent = m_adopted->present;
    m_adopted.reset();
}

void PointTracer::InsertVirtualStep(std::uint32_t count)
{
    const LayoutModel::ChangeScope change(m_model);
    if (m_advancedEnabled && !m_advancedStarted)
        return;
    if (m_advancedStarted) {
        for (std::uint32_t i = 0; i < count; ++i) {
            if (m_tracedCount >= AdvancedTotal()) {
                Finished();
                return;
            }
            ++m_tracedCount;
            Light(0);
            m_records.push_back(TracedPoint::Virtual());
            if (m_tracedCount == AdvancedTotal()) {
                Finished();
                return;
            }
        }
        return;
    }
    if (!m_starts.empty())
        return;
    m_firstRow.insert(m_firstRow.end(), count, TracedPoint::Virtual());
}

void PointTracer::ReopenFinished()
{
    if (m_layoutDone == 0)
        return;
    *m_setup = std::move(m_beforeFinish.setup);
    m_width = m_beforeFinish.width;
    m_height = m_beforeFinish.height;
    m_beforeFinish = {};
    m_layoutDone = 0;
    m_timerRunning = true;
}

int PointTracer::UndoStep()
{
    const LayoutModel::ChangeScope change(m_model);
    const auto dropTrailingVirtual = [this] {
        while (!m_firstRow.empty() && m_firstRow.back().IsVirtual())
            m_firstRow.pop_back();
    };
    const auto focusLastHistory = [this] {
        m_focus = m_history.empty() ? GridCell{} : m_history.back();
    };
    if (m_layoutDone != 0) {
        // One step back from a finished layout is the layout just before the final analysis.
        ReopenFinished();
        m_result.clear();
        return 0;
    }
    if (m_advancedStarted) {
        if (m_tracedCount == 0)
            return -1;
        if (!m_records.empty()) {
            const TracedPoint last = m_records.back();
            if (!last.IsVirtual()) {
                // Deduced records have no history cell of their own.
                if (!m_history.empty() && m_history.back() == GridCell{last.y + 1, last.x + 1})
                    ClearLastHistory();
                if (LedPoint* pixel = m_model.Find(LayoutModel::Key(last.x, last.y)))
                    pixel->traced = 0;
                focusLastHistory();
            }
            m_records.pop_back();
        }
        --m_tracedCount;
        Light(1);
        return 0;
    }
    if (m_ordinal < 2) {
        dropTrailingVirtual();
        return 0;
    }
    if (RowComplete() && !m_starts.empty()) {
        ClearLastHistory();
        const TracedPoint start = m_starts.back();
        if (LedPoint* pixel = m_model.Find(LayoutModel::Key(start.x, start.y)))
            pixel->traced = 0;
        m_starts.pop_back();
        if (!m_starts.empty())
            m_lastTraced = m_starts.back().pixel;
        else if (!m_firstRow.empty())
            m_lastTraced = m_channelRows[0].rows[0].points.back().pixel;
        return 0;
    }
    if (!m_firstRow.empty() && m_firstRow.back().IsVirtual()) {
        dropTrailingVirtual();
        return 0;
    }
    if (m_channelRows.empty() || m_channelRows[0].rows[0].points.empty())
        return 0;
    const TracedPoint last = m_channelRows[0].rows[0].points.back();
    ClearLastHistory();
    focusLastHistory();
    if (LedPoint* pixel = m_model.Find(LayoutModel::Key(last.x, last.y)))
        pixel->traced = 0;
    for (ChannelRow& entry : m_channelRows)
        if (!entry.rows[0].points.empty())
            entry.rows[0].points.pop_back();
    if (!m_firstRow.empty())
        m_firstRow.pop_back();
    --m_ordinal;
    const auto& row = m_channelRows[0].rows[0].points;
    m_lastTraced = row.empty() ? -1 : row.back().pixel;
    m_supported = false;
    Light(1);
    return 0;
}

} // namespace md
