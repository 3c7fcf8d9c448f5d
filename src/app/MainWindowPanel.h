#pragma once
// The controls of the main window's client area at its design size: the line tree, the device,
// item, computer and process lists, the chat and log boxes and the console's controls, over
// the screen background and under the proportional layout.

#include "ConsolePanel.h"
#include "ProportionalLayout.h"

#include <QPixmap>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTreeWidget;

namespace dbkeel {

class ReportListView;

class MainWindowPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kDesignSize{693, 447};  // 462 x 275 dialog units

    explicit MainWindowPanel(QWidget *parent = nullptr);

    // Column headers of the device, item, process and computer lists from their current widths.
    void setUpListColumns();
    void attachLayout();

    QTreeWidget *lineTree() const { return lineTree_; }
    ReportListView *deviceList() const { return deviceList_; }
    ReportListView *itemList() const { return itemList_; }
    ReportListView *computerList() const { return computerList_; }
    ReportListView *processList() const { return processList_; }
    QTextEdit *chatBox() const { return chatBox_; }
    QPlainTextEdit *logBox() const { return logBox_; }
    // The console's controls, wired by the console module; the exit button is the window's.
    const ConsoleWidgets &console() const { return console_; }
    QPushButton *exitButton() const { return m_exit; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createViews();
    void createConsoleControls();
    QPushButton *button(const QString &text, const QString &name, const QString &tip, const QRect &place);
    void styleConsoleButtons();

    ProportionalLayout layout_;
    QPixmap background_;
    QTreeWidget *lineTree_ = nullptr;
    ReportListView *deviceList_ = nullptr, *itemList_ = nullptr, *computerList_ = nullptr, *processList_ = nullptr;
    QTextEdit *chatBox_ = nullptr;
    QPlainTextEdit *logBox_ = nullptr;
    ConsoleWidgets console_;
    QPushButton *m_exit = nullptr;
    QFont buttonFont_;
};

}  // namespace dbkeel
