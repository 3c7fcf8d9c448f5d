#pragma once
// The controls of the main window's client area at its design size: the line tree, the device,
// item, computer and process lists, the chat and log boxes and the console's controls, over
// the screen background and under the proportional layout.

#include "console/ConsolePanel.h"
#include "widgets/ProportionalLayout.h"

#include <QPixmap>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTreeWidget;

namespace dbkeel {

class ReportListView;

// The font of the buttons 重启, 同步时间 and 关机: "幼圆", 30 pixels high, weight 600 (DemiBold) when that
// face is among the installed `families`; otherwise the dialog font as it is.
QFont consoleButtonFont(const QStringList &families, const QFont &dialogFont);

class MainWindowPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kDesignSize{693, 447};  // 462 x 275 dialog units

    explicit MainWindowPanel(QWidget *parent = nullptr);

    // Column headers of the device, item, process and computer lists from their current widths.
    void setUpListColumns();
    void attachLayout();

    QTreeWidget *lineTree() const { return m_lineTree; }
    ReportListView *deviceList() const { return m_deviceList; }
    ReportListView *itemList() const { return m_itemList; }
    ReportListView *computerList() const { return m_computerList; }
    ReportListView *processList() const { return m_processList; }
    QTextEdit *chatBox() const { return m_chatBox; }
    QPlainTextEdit *logBox() const { return m_logBox; }
    // The console's controls, wired by the console module; the exit button is the window's.
    const ConsoleWidgets &console() const { return m_console; }
    QPushButton *exitButton() const { return m_exit; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createViews();
    void createConsoleControls();
    QPushButton *button(const QString &text, const QString &name, const QString &tip, const QRect &place);
    void styleConsoleButtons();

    ProportionalLayout m_layout;
    QPixmap m_background;
    QTreeWidget *m_lineTree = nullptr;
    ReportListView *m_deviceList = nullptr, *m_itemList = nullptr, *m_computerList = nullptr, *m_processList = nullptr;
    QTextEdit *m_chatBox = nullptr;
    QPlainTextEdit *m_logBox = nullptr;
    ConsoleWidgets m_console;
    QPushButton *m_exit = nullptr;
    QFont m_buttonFont;
};

}  // namespace dbkeel
