// A statement built by chained arg calls across lines: the check must refuse it.
#include <QString>

QString insertStation(const QString &name, int code, int station, const QString &address)
{
    return QStringLiteral("insert into tb_station(name, code, station, address) values('%1', %2, %3, '%4')")
        .arg(name.left(qMin(name.size(), 49)))
        .arg(code)
        .arg(station)
        .arg(address);
}
