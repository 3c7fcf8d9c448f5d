#pragma once
// The vehicle-type table design "车型表设计" over a VehicleDesignEditor.

#include "screens/ScreenDialog.h"
#include "stats/VehicleDesignEditor.h"

#include <QTimer>

namespace dbkeel {

class VehicleDesignDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit VehicleDesignDialog(QWidget *parent = nullptr);
    VehicleDesignEditor &editor() { return m_editor; }

    // "退出" and the close box: the data worker is stopped and awaited, then the library ends.
    void reject() override;

private:
    QRect screenArea() const;

    VehicleDesignEditor m_editor{this};
    QTimer m_managerTimer;  // timer 1: polls the library's state while its manager is shown
};

}  // namespace dbkeel
