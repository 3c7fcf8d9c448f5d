#include "stats/TextField.h"

#include "core/HostLib.h"
#include "platform/Gbk.h"

namespace dbkeel {

QString fieldOf(const QString &text, int index)
{
    QByteArray out;
    if (hostLib().getField(toGbk(text), out, index) < 0)
        return {};
    return fromGbk(out);
}

}  // namespace dbkeel
