#include "composition/RelationDialog.h"

#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace dbkeel {

namespace {
constexpr QSize kDesignSize(700, 440);
}

RelationDialog::RelationDialog(const RelationVariant &variant, QWidget *parent)
    : ScreenDialog(parent, kDesignSize, variant.title), m_editor(variant)
{
    setObjectName(variant.screenName);
    auto *owner = placeLabelled<QComboBox>(this, 10, variant.ownerLabel, {80, 12, 220, 24}, QStringLiteral("owner"));
    placeLabel(this, {10, 46, 200, 20}, variant.availableTitle);
    placeLabel(this, {400, 46, 200, 20}, variant.assignedTitle);
    auto *available = placeControl<ReportListView>(this, {10, 68, 290, 320}, QStringLiteral("available"));
    available->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    available->setListTextColor(listcolor::Blue);
    auto *assigned = placeControl<ReportListView>(this, {400, 68, 290, 320}, QStringLiteral("assigned"));
    assigned->setExtendedStyle(ReportListView::GridFullRowStyle);
    assigned->setToolTip(QStringLiteral("左键双击删除该行"));

    QPushButton *addTicked = placeButton(this, {320, 120, 60, 28}, QStringLiteral("addTicked"), QStringLiteral(">"),
                                         QStringLiteral("添加"));
    QPushButton *addAll = placeButton(this, {320, 170, 60, 28}, QStringLiteral("addAll"), QStringLiteral(">>"),
                                      QStringLiteral("添加所有"));
    QPushButton *removeAll = placeButton(this, {320, 220, 60, 28}, QStringLiteral("removeAll"), QStringLiteral("<<"),
                                         QStringLiteral("删除所有"));
    placeButton(this, {320, 270, 60, 28}, QStringLiteral("remove"), QStringLiteral("<"), QStringLiteral("删除"))
        ->hide();
    QPushButton *write = placeButton(this, {500, 400, 80, 28}, QStringLiteral("write"), QStringLiteral("建立"),
                                     QStringLiteral("确定"));
    QPushButton *cancel = placeButton(this, {600, 400, 80, 28}, QStringLiteral("cancel"), QStringLiteral("取消"),
                                      QStringLiteral("退出"));
    if (variant.hasTickButtons) {
        QPushButton *tickAll = placeButton(this, {10, 400, 60, 28}, QStringLiteral("tickAll"), QStringLiteral("全选"));
        QPushButton *invert = placeButton(this, {80, 400, 60, 28}, QStringLiteral("invert"), QStringLiteral("反选"));
        tickAll->hide();
        invert->hide();
        connect(tickAll, &QPushButton::clicked, &m_editor, &RelationEditor::tickAll);
        connect(invert, &QPushButton::clicked, &m_editor, &RelationEditor::invertTicks);
    }

    connect(owner, &QComboBox::currentIndexChanged, this,
            [this, owner] { m_editor.selectOwner(owner->currentText()); });
    connect(addTicked, &QPushButton::clicked, &m_editor, &RelationEditor::addTicked);
    connect(addAll, &QPushButton::clicked, &m_editor, &RelationEditor::addAll);
    connect(removeAll, &QPushButton::clicked, &m_editor, &RelationEditor::removeAll);
    connect(assigned, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { m_editor.removeOne(index.row()); });
    connect(write, &QPushButton::clicked, &m_editor, &RelationEditor::write);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The tick buttons are hidden: their place holds the status line.
    showStatus(m_editor.status(), placeControl<QLabel>(this, {10, 404, 480, 22}, QStringLiteral("status")), nullptr,
               nullptr);
    m_editor.setColumns(available->width() - 2 * available->frameWidth());
    available->setModel(&m_editor.available());
    assigned->setModel(&m_editor.assigned());
    m_editor.load();
    const QSignalBlocker quiet(owner);  // no device is selected until the user chooses one
    owner->addItems(m_editor.ownerNames());
    owner->setCurrentIndex(-1);
    attachLayout();
}

}  // namespace dbkeel
