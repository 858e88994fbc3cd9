#include "core/layout/VirtualPointPresenter.h"

#include "core/layout/PointTracer.h"

namespace md {

bool VirtualPointPresenter::Offer()
{
    return m_tracer.VirtualPointDialogValues(m_position, m_count);
}

void VirtualPointPresenter::Accept(std::uint32_t number)
{
    m_tracer.InsertVirtual(number);
}

} // namespace md
