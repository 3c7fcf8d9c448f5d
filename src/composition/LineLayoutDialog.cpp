#include "composition/LineLayoutDialog.h"

#include "console/ComputerRegistrationDialog.h"
#include "console/StationRowDialog.h"
#include "platform/Prompt.h"
#include "screens/ScreenControls.h"
#include "widgets/IpAddressEdit.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace dbkeel {

namespace {

constexpr QSize kDesignSize(960, 600);
constexpr QSize kDuplicateDesignSize(600, 360);
constexpr int kOpeningDelayMs = 500;
constexpr int kRowHeight = 24;

QStringList oneToTwenty()
{
    QStringList numbers;
    for (int n = 1; n <= 20; ++n)
        numbers << QString::number(n);
    return numbers;
}

QComboBox *dropDown(QWidget *screen, int labelLeft, const QString &label, const QRect &geometry, const QString &name,
                    const QStringList &entries = {}, bool editable = false)
{
    auto *box = placeLabelled<QComboBox>(screen, labelLeft, label, geometry, name);
    box->addItems(entries);
    box->setEditable(editable);
    box->setCurrentIndex(-1);
    return box;
}

}  // namespace

LayoutDuplicatesDialog::LayoutDuplicatesDialog(ReportListModel &duplicates, LineLayoutEditor &editor, QWidget *parent)
    : ScreenDialog(parent, kDuplicateDesignSize, QStringLiteral("重复项目信息框"))
{
    setObjectName(QStringLiteral("LayoutDuplicatesDialog"));
    setModal(false);
    auto *list = placeControl<ReportListView>(this, {10, 10, 580, 300}, QStringLiteral("duplicates"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    QPushButton *ok = placeButton(this, {410, 322, 80, 28}, QStringLiteral("ok"), QStringLiteral("确定"));
    QPushButton *cancel = placeButton(this, {510, 322, 80, 28}, QStringLiteral("cancel"), QStringLiteral("取消"));
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
    editor.setDuplicateColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&duplicates);
    attachLayout();
}

LineLayoutDialog::LineLayoutDialog(QWidget *parent)
    : ScreenDialog(parent, kDesignSize, QStringLiteral("线、工位、设备信息建立"))
{
    setObjectName(QStringLiteral("LineLayoutDialog"));
    placeInputs();
    placeButtons();
    m_list = placeControl<ReportListView>(this, {10, 170, 940, 380}, QStringLiteral("list"));
    m_list->setExtendedStyle(ReportListView::GridFullRowStyle);
    m_list->setListBackgroundColor(rgb(240, 240, 240));
    m_deviceCode = placeControl<QLabel>(this, {10, 560, 120, 24}, QStringLiteral("deviceCode"),
                                        QStringLiteral("设备号:"));
    auto *hint = placeControl<QLabel>(this, {140, 560, 560, 24}, QStringLiteral("hint"));
    showStatus(m_editor.status(), hint, nullptr, nullptr);
    m_editor.status().setLeft(QStringLiteral("双击左键删除行,单击右键修改行"));
    connectList();

    m_editor.setColumns(m_list->width() - 2 * m_list->frameWidth());
    m_list->setModel(&m_editor.list());
    m_duplicates = new LayoutDuplicatesDialog(m_editor.duplicates(), m_editor, this);
    connect(&m_editor, &LineLayoutEditor::duplicatesFound, m_duplicates, &QWidget::show);
    QTimer::singleShot(kOpeningDelayMs, this, [this] {
        m_editor.open();
        showLoaded();
    });
    attachLayout();
}

void LineLayoutDialog::placeInputs()
{
    const int top1 = 12, top2 = 46, top3 = 80, top4 = 114;
    m_line = dropDown(this, 10, QStringLiteral("线号选择:"), {90, top1, 80, kRowHeight}, QStringLiteral("line"),
                      oneToTwenty());
    m_lineType = dropDown(this, 190, QStringLiteral("线类型选择:"), {280, top1, 160, kRowHeight},
                          QStringLiteral("lineType"));
    m_station = dropDown(this, 460, QStringLiteral("工位:"), {510, top1, 80, kRowHeight}, QStringLiteral("station"),
                         oneToTwenty());
    m_device = dropDown(this, 610, QStringLiteral("设备选择:"), {690, top1, 180, kRowHeight}, QStringLiteral("device"));

    m_address = placeLabelled<IpAddressEdit>(this, 10, QStringLiteral("计算机IP地址:"), {110, top2, 140, kRowHeight},
                                             QStringLiteral("address"));
    m_port = placeLabelled<QLineEdit>(this, 270, QStringLiteral("端口:"), {320, top2, 80, kRowHeight},
                                      QStringLiteral("port"));
    m_brakeType = dropDown(this, 420, QStringLiteral("制动台类型:"), {510, top2, 120, kRowHeight},
                           QStringLiteral("brakeType"),
                           {QStringLiteral("转鼓台"), QStringLiteral("滚筒式"), QStringLiteral("平板台")}, true);
    m_areaCode = dropDown(this, 650, QStringLiteral("站区划代号:"), {740, top2, 130, kRowHeight},
                          QStringLiteral("areaCode"), {}, true);

    m_bodyCode = placeLabelled<QLineEdit>(this, 10, QStringLiteral("检测机构代号:"), {110, top3, 140, kRowHeight},
                                          QStringLiteral("bodyCode"));
    m_netId = placeLabelled<QLineEdit>(this, 270, QStringLiteral("车管所联网编号:"), {380, top3, 140, kRowHeight},
                                       QStringLiteral("netId"));
    m_devicePath = placeLabelled<QLineEdit>(this, 10, QStringLiteral("设备路径:"), {110, top4, 360, kRowHeight},
                                            QStringLiteral("devicePath"));
    QPushButton *browse = placeButton(this, {476, top4, 30, kRowHeight}, QStringLiteral("browse"),
                                      QStringLiteral("..."), QStringLiteral("设置设备路径"));
    connect(browse, &QPushButton::clicked, this, &LineLayoutDialog::chooseDevicePath);
    m_remark = placeLabelled<QLineEdit>(this, 520, QStringLiteral("说明:"), {570, top4, 300, kRowHeight},
                                        QStringLiteral("remark"));

    connect(m_device, &QComboBox::currentIndexChanged, this, [this] {
        m_deviceCode->setText(QStringLiteral("设备号:") + m_editor.deviceCode(m_device->currentText()));
        m_port->setText(LineLayoutEditor::kDevicePort);
    });
}

void LineLayoutDialog::placeButtons()
{
    const auto button = [this](int left, int top, int width, const char *name, const QString &text,
                               const QString &tip) {
        return placeButton(this, {left, top, width, 28}, QString::fromLatin1(name), text, tip);
    };
    QPushButton *add = button(880, 10, 70, "add", QStringLiteral("添加"), QStringLiteral("添加"));
    QPushButton *clear = button(880, 44, 70, "clear", QStringLiteral("清除列表"), QStringLiteral("清除"));
    QPushButton *up = button(880, 78, 32, "up", QStringLiteral("↑"), QStringLiteral("上移列表信息"));
    QPushButton *down = button(918, 78, 32, "down", QStringLiteral("↓"), QStringLiteral("下移列表信息"));
    QPushButton *import = button(10, 140, 70, "import", QStringLiteral("导入"), QStringLiteral("导入线信息"));
    QPushButton *exportButton = button(90, 140, 70, "export", QStringLiteral("导出"), QStringLiteral("导出线信息"));
    QPushButton *computers = button(170, 140, 120, "computers", QStringLiteral("添加其他计算机"),
                                    QStringLiteral("添加其他计算机"));
    QPushButton *buildButton = button(780, 560, 80, "build", QStringLiteral("建立"), QStringLiteral("设置"));
    QPushButton *cancel = button(870, 560, 80, "cancel", QStringLiteral("取消"), QStringLiteral("退出"));

    connect(add, &QPushButton::clicked, this, &LineLayoutDialog::addRow);
    connect(clear, &QPushButton::clicked, &m_editor, &LineLayoutEditor::clearList);
    connect(up, &QPushButton::clicked, this, [this] {
        m_editor.moveUp();
        m_list->selectOnly(m_editor.selectedRow());
    });
    connect(down, &QPushButton::clicked, this, [this] {
        m_editor.moveDown();
        m_list->selectOnly(m_editor.selectedRow());
    });
    connect(import, &QPushButton::clicked, &m_editor, &LineLayoutEditor::importFile);
    connect(exportButton, &QPushButton::clicked, &m_editor, &LineLayoutEditor::exportFile);
    connect(computers, &QPushButton::clicked, this, [this] {
        ComputerRegistrationDialog screen(this);
        prompt().runModal(screen);
    });
    connect(buildButton, &QPushButton::clicked, this, &LineLayoutDialog::build);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_duplicates->hide();
        reject();
    });
}

void LineLayoutDialog::connectList()
{
    connect(m_list, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { m_editor.selectRow(index.row()); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (std::optional<StationRowRecord> record = m_editor.prepareEdit(index.row()))
            if (StationRowDialog::edit(this, *record))
                m_editor.finishEdit(index.row(), *record);
    });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        const int row = m_list->indexAt(position).row();
        m_editor.selectRow(row);
        m_editor.deleteRow(row);
    });
}

void LineLayoutDialog::showLoaded()
{
    const QSignalBlocker quietDevice(m_device), quietLineType(m_lineType);
    m_device->addItems(m_editor.deviceNames());
    m_device->setCurrentIndex(-1);
    m_lineType->addItems(m_editor.lineTypeNames());
    m_lineType->setCurrentIndex(-1);
}

PlacementInput LineLayoutDialog::input() const
{
    return {m_line->currentText(),      m_lineType->currentText(),
            m_station->currentText(),   m_device->currentText(),
            m_address->text(),          m_port->text(),
            m_brakeType->currentText(), m_areaCode->currentText(),
            m_bodyCode->text(),         m_netId->text(),
            m_devicePath->text(),       m_remark->text()};
}

void LineLayoutDialog::addRow()
{
    const std::optional<PlacementField> refused = m_editor.addRow(input());
    if (!refused)
        return;
    switch (*refused) {
    case PlacementField::Line: m_line->setFocus(); break;
    case PlacementField::LineType: m_lineType->setFocus(); break;
    case PlacementField::Device: m_device->setFocus(); break;
    case PlacementField::Station: m_station->setFocus(); break;
    }
}

void LineLayoutDialog::chooseDevicePath()
{
    if (const std::optional<DeviceChoice> choice = chooseDeviceLibrary()) {
        m_devicePath->setText(choice->path);
        if (choice->remark)
            m_remark->setText(*choice->remark);
    }
}

void LineLayoutDialog::build()
{
    if (m_editor.build() == LineLayoutEditor::BuildEnd::Close) {
        m_duplicates->hide();
        accept();
    }
}

}  // namespace dbkeel
