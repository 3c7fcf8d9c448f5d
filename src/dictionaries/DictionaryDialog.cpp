#include "dictionaries/DictionaryDialog.h"

#include "dictionaries/DictionaryRowDialog.h"
#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace dbkeel {

namespace {
constexpr QSize kDesignSize(640, 440);
}

DictionaryDialog::DictionaryDialog(const DictionaryVariant &variant, QWidget *parent)
    : ScreenDialog(parent, kDesignSize, variant.title), m_editor(variant)
{
    setObjectName(variant.screenName);
    placeControls();
    connectCommands();
    m_editor.setColumns(m_list->width() - 2 * m_list->frameWidth());
    m_list->setModel(&m_editor.list());
    m_editor.load();
    attachLayout();
}

void DictionaryDialog::placeControls()
{
    const DictionaryVariant &v = m_editor.variant();
    m_list = placeControl<ReportListView>(this, {10, 10, 620, 320}, QStringLiteral("list"));
    m_list->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    m_list->setListTextColor(listcolor::Blue);

    m_searchMode = placeControl<QComboBox>(this, {10, 342, 90, 22}, QStringLiteral("searchMode"));
    m_searchMode->addItems({v.searchCodeMode, v.searchNameMode});
    m_searchText = placeControl<QLineEdit>(this, {106, 342, 120, 22}, QStringLiteral("searchText"));
    m_searchButton = placeButton(this, {232, 340, 60, 26}, QStringLiteral("searchButton"), v.searchButton, v.searchTip);
    m_tickAll = placeButton(this, {310, 340, 60, 26}, QStringLiteral("tickAllButton"), QStringLiteral("全选"));
    m_invert = placeButton(this, {376, 340, 60, 26}, QStringLiteral("invertButton"), QStringLiteral("反选"));
    m_check = placeButton(this, {454, 340, 80, 26}, QStringLiteral("checkButton"), QStringLiteral("检查..."),
                          v.checkTip);

    m_export = placeButton(this, {10, 374, 60, 26}, QStringLiteral("exportButton"), QStringLiteral("导出"));
    m_import = placeButton(this, {76, 374, 60, 26}, QStringLiteral("importButton"), QStringLiteral("导入"));
    m_forcedImport = placeButton(this, {142, 374, 100, 26}, QStringLiteral("forcedImportButton"),
                                 QStringLiteral("强制覆盖导入"));
    m_update = placeButton(this, {454, 374, 80, 26}, QStringLiteral("updateButton"), QStringLiteral("更新"),
                           v.updateTip);
    m_cancel = placeButton(this, {550, 374, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                           v.cancelTip);

    auto *left = placeControl<QLabel>(this, {10, 410, 300, 20}, QStringLiteral("leftStatus"));
    auto *progress = placeControl<QProgressBar>(this, {316, 412, 130, 16}, QStringLiteral("progress"));
    auto *right = placeControl<QLabel>(this, {454, 410, 176, 20}, QStringLiteral("rightStatus"));
    showStatus(m_editor.status(), left, right, progress);
}

void DictionaryDialog::connectCommands()
{
    connect(m_update, &QPushButton::clicked, &m_editor, &DictionaryEditor::store);
    connect(m_check, &QPushButton::clicked, &m_editor, &DictionaryEditor::checkCommand);
    connect(m_searchButton, &QPushButton::clicked, this, &DictionaryDialog::search);
    connect(m_tickAll, &QPushButton::clicked, this, [this] { m_editor.list().setAllChecked(true); });
    connect(m_invert, &QPushButton::clicked, this, [this] { m_editor.list().invertChecks(); });
    connect(m_export, &QPushButton::clicked, &m_editor, &DictionaryEditor::exportTicked);
    connect(m_import, &QPushButton::clicked, this, [this] { m_editor.importFile(false); });
    connect(m_forcedImport, &QPushButton::clicked, this, [this] { m_editor.importFile(true); });
    connect(m_cancel, &QPushButton::clicked, this, &DictionaryDialog::reject);
    editRowsOnDoubleClick(this, m_list, m_editor, &DictionaryRowDialog::edit);
    connect(m_list, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { m_editor.showInsertTime(index.row()); });

    followBusy(m_update, &m_editor, &DictionaryEditor::storeRunning, QStringLiteral("更新..."));
    connect(&m_editor, &DictionaryEditor::exchangeRunning, this, [this](bool running) {
        for (QPushButton *button : {m_forcedImport, m_import, m_export})
            button->setEnabled(!running);
    });

    // The Delete key, whichever control has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool DictionaryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        QWidget *receiver = focusWidget() ? focusWidget() : this;
        if (watched == receiver)  // once, not again while the key travels to the parents
            m_editor.markWithdrawn(m_list->selectedRows());
    }
    return ScreenDialog::eventFilter(watched, event);
}

void DictionaryDialog::search()
{
    const bool byName = m_searchMode->currentIndex() == 1;
    if (!m_editor.search(byName, m_searchText->text()))
        m_searchText->setFocus();
}

}  // namespace dbkeel
