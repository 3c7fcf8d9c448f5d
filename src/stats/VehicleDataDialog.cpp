#include "stats/VehicleDataDialog.h"

#include "screens/ScreenControls.h"

#include <QLabel>
#include <QProgressBar>

namespace dbkeel {

VehicleDataDialog::VehicleDataDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(380, 170), QStringLiteral("车型管理"))
{
    setObjectName(QStringLiteral("VehicleDataDialog"));
    QPushButton *exportButton = placeButton(this, {30, 30, 140, 32}, QStringLiteral("exportButton"),
                                            QStringLiteral("导出车型"));
    QPushButton *importButton = placeButton(this, {210, 30, 140, 32}, QStringLiteral("importButton"),
                                            QStringLiteral("导入车型"));
    auto *progress = placeControl<QProgressBar>(this, {30, 80, 320, 16}, QStringLiteral("progress"));
    auto *status = placeControl<QLabel>(this, {30, 102, 320, 20}, QStringLiteral("status"));
    QPushButton *cancel = placeButton(this, {270, 130, 80, 28}, QStringLiteral("cancelButton"), QStringLiteral("取消"));
    showStatus(m_status, status, nullptr, progress);

    connect(exportButton, &QPushButton::clicked, &m_transfer, &VehicleDataTransfer::exportData);
    connect(importButton, &QPushButton::clicked, &m_transfer, &VehicleDataTransfer::importData);
    connect(cancel, &QPushButton::clicked, this, &VehicleDataDialog::reject);
    connect(&m_transfer, &VehicleDataTransfer::runningChanged, this, [exportButton, importButton](bool running) {
        exportButton->setEnabled(!running);
        importButton->setEnabled(!running);
    });
    attachLayout();
}

void VehicleDataDialog::reject()
{
    m_transfer.stopAndWait();
    ScreenDialog::reject();  // refused while the worker still runs
}

}  // namespace dbkeel
