#pragma once
// The station row editor (StationRowDialog) without its widgets: its record and its device browser.

#include <QString>

#include <optional>

namespace dbkeel {

// Address, port, brake-tester type, station-area code, device path and remark of one station row.
// With both the path and the remark "-1" only the address and the port mean anything.
struct StationRowRecord {
    // The limits of the caller's buffers, in GBK bytes with the NUL.
    static constexpr int kAddressBytes = 99, kPortBytes = 19, kBrakeTypeBytes = 99, kAreaCodeBytes = 99,
                         kDevicePathBytes = 399, kDeviceRemarkBytes = 89;

    QString address, port, brakeType, areaCode, devicePath, deviceRemark;

    static StationRowRecord addressOnly(const QString &address, const QString &port);
    bool isAddressOnly() const;
    // Every text cut to its limit, as "确定" reads them back; a character is never split.
    void cutToLimits();
};

// "Ver:<version> <text> <text>" of the version texts the host library finds in a device library;
// nullopt when it finds none.
std::optional<QString> deviceVersionRemark(const QString &path);

// A device library chosen for the row, and its version remark when it has one.
struct DeviceChoice {
    QString path;
    std::optional<QString> remark;
};
// "...": asks for a device library in the installation's DEVBIN folder; nullopt when cancelled.
std::optional<DeviceChoice> chooseDeviceLibrary();

}  // namespace dbkeel
