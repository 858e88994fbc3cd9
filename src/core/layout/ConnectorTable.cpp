#include "layout/ConnectorTable.h"

namespace md {

ConnectorTable& ConnectorTable::Shared()
{
    static ConnectorTable table;
    return table;
}

} // namespace md
