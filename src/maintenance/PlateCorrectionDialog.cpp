#include "maintenance/PlateCorrectionDialog.h"

#include "screens/ScreenControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace dbkeel {

PlateCorrectionDialog::PlateCorrectionDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(620, 420), QStringLiteral("修正号牌错误问题"))
{
    setObjectName(QStringLiteral("PlateCorrectionDialog"));
    auto *search = placeLabelled<QLineEdit>(this, 10, QStringLiteral("车牌号码:"), {80, 12, 200, 24},
                                            QStringLiteral("searchText"));
    QPushButton *query = placeButton(this, {290, 10, 80, 28}, QStringLiteral("queryButton"), QStringLiteral("查询"),
                                     QStringLiteral("查询车辆"));
    placeControl<QGroupBox>(this, {10, 46, 600, 262}, QString(), QStringLiteral("错误车辆信息"));
    auto *list = placeControl<ReportListView>(this, {20, 66, 580, 232}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(listcolor::PaleGreen);

    auto *plate = placeLabelled<QLineEdit>(this, 10, QStringLiteral("车牌号码:"), {80, 320, 160, 24},
                                           QStringLiteral("plate"));
    plate->setReadOnly(true);
    auto *kind = placeLabelled<QComboBox>(this, 260, QStringLiteral("号牌种类:"), {330, 320, 160, 24},
                                          QStringLiteral("plateKind"));
    auto *loginId = placeLabelled<QLineEdit>(this, 10, QStringLiteral("LoginID:"), {80, 354, 240, 24},
                                             QStringLiteral("loginId"));
    loginId->setReadOnly(true);
    QPushButton *update = placeButton(this, {420, 380, 90, 28}, QStringLiteral("updateButton"), QStringLiteral("更新"),
                                      QStringLiteral("修改数据"));
    QPushButton *quit = placeButton(this, {520, 380, 90, 28}, QStringLiteral("quitButton"), QStringLiteral("退出"),
                                    QStringLiteral("退出系统"));

    connect(query, &QPushButton::clicked, this, [this, search] { m_editor.search(search->text()); });
    connect(list, &QAbstractItemView::clicked, this, [this, list] { m_editor.choose(list->selectedRow()); });
    connect(&m_editor, &PlateCorrectionEditor::chosenChanged, this, [this, plate, loginId, kind] {
        plate->setText(m_editor.chosenPlate());
        loginId->setText(m_editor.chosenLoginId());
        const int index = kind->findText(m_editor.chosenKindText());
        if (m_editor.chosenRow() >= 0 && index >= 0)
            kind->setCurrentIndex(index);
    });
    connect(update, &QPushButton::clicked, this, [this, kind, search] {
        if (m_editor.update(kind->currentText(), search->text()) == PlateCorrectionEditor::UpdateResult::KindMissing)
            kind->setFocus();
    });
    connect(quit, &QPushButton::clicked, this, &PlateCorrectionDialog::reject);

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    m_editor.open();
    kind->addItems(m_editor.plateKinds());
    kind->setCurrentIndex(-1);
    attachLayout();
}

}  // namespace dbkeel
