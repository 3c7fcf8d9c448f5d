#pragma once
// The vehicle-type data window "车型管理": export and import of the vehicle-type tables.

#include "screens/ScreenDialog.h"
#include "screens/ScreenStatus.h"
#include "stats/VehicleDataTransfer.h"

namespace dbkeel {

class VehicleDataDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit VehicleDataDialog(QWidget *parent = nullptr);
    VehicleDataTransfer &transfer() { return m_transfer; }

    // Cancel, Esc and the close box: the worker is asked to stop and awaited first.
    void reject() override;

private:
    ScreenStatus m_status;
    VehicleDataTransfer m_transfer{m_status, VehicleDataTransfer::Window::Data, this};
};

}  // namespace dbkeel
