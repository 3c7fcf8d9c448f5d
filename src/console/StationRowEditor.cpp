#include "console/StationRowEditor.h"

#include "console/ConsoleOperations.h"
#include "core/HostLib.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

namespace dbkeel {

namespace {

const QString kUnused = QStringLiteral("-1");

}  // namespace

StationRowRecord StationRowRecord::addressOnly(const QString &address, const QString &port)
{
    return {address, port, {}, {}, kUnused, kUnused};
}

bool StationRowRecord::isAddressOnly() const
{
    return devicePath == kUnused && deviceRemark == kUnused;
}

void StationRowRecord::cutToLimits()
{
    address = cutToGbkBytes(address, kAddressBytes);
    port = cutToGbkBytes(port, kPortBytes);
    brakeType = cutToGbkBytes(brakeType, kBrakeTypeBytes);
    areaCode = cutToGbkBytes(areaCode, kAreaCodeBytes);
    devicePath = cutToGbkBytes(devicePath, kDevicePathBytes);
    deviceRemark = cutToGbkBytes(deviceRemark, kDeviceRemarkBytes);
}

std::optional<QString> deviceVersionRemark(const QString &path)
{
    QByteArray version, name, description;
    if (hostLib().getVers(toGbk(path), version, name, description) <= 0)
        return std::nullopt;
    return QStringLiteral("Ver:%1 %2 %3").arg(fromGbk(version), fromGbk(name), fromGbk(description));
}

std::optional<DeviceChoice> chooseDeviceLibrary()
{
    FileRequest request;
    request.initialPath = joinPath(ConsoleOperations::installationFolder(QStringLiteral("DEVBIN")),
                                   QStringLiteral("*.dll"));
    request.defaultExtension = QStringLiteral("dll");
    request.filter = QStringLiteral("open files (*.dll)|*.dll|open files (*.dev)|*.dev|ALL files (*.*)|*.*||");
    const QString path = prompt().chooseFile(request);
    if (path.isEmpty())
        return std::nullopt;
    return DeviceChoice{path, deviceVersionRemark(path)};
}

}  // namespace dbkeel
