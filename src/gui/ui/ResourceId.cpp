#include "gui/ui/ResourceId.h"

#include <QObject>
#include <QString>

namespace md {

void SetResourceId(QObject* object, int id)
{
    object->setObjectName(QString::number(id));
}

} // namespace md
