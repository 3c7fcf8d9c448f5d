#pragma once
// The station-configuration manager: the host configuration's numbered entries in a list, one entry
// edited at a time, the file saved whole.

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QModelIndex;

namespace dbkeel {

class ProfileFile;
class ReportListModel;
class ReportListView;

class HostConfigDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEntryCount = 256;
    static const QString kSection;  // "HOSTCFG"

    explicit HostConfigDialog(const QString &configFile, QWidget *parent = nullptr);
    ~HostConfigDialog() override;

    ReportListModel &entries() { return *m_entries; }
    // Puts the entry's text into the file (in memory) and the list; false for a number outside 0…255
    // or a text the file cannot carry (the reason in the status line).
    bool setEntry(int number, const QString &text);
    // Writes the file; false with the reason in the status line.
    bool save();
    QString status() const;

private:
    void loadEntries();
    void showSelected(const QModelIndex &index);
    int rowOf(int number) const;

    std::unique_ptr<ProfileFile> m_file;
    ReportListModel *m_entries;
    ReportListView *m_view;
    QLineEdit *m_number;
    QLineEdit *m_text;
    QLabel *m_status;
};

}  // namespace dbkeel
