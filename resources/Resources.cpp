#include "resources/Resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerMirelResources()
{
    Q_INIT_RESOURCE(mirel);
}

namespace mirel {

void initResources()
{
    static const bool registered = (registerMirelResources(), true);
    Q_UNUSED(registered);
}

} // namespace mirel
