#include "config/Sites.h"

namespace mirel {

Sites Sites::local(quint16 port)
{
    const QByteArray base = "http://127.0.0.1:" + QByteArray::number(port);
    return Sites{base, base, base, base, base, base, base, base, base};
}

} // namespace mirel
