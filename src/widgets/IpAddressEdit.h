#pragma once
// An IPv4 address field as the platform's address control behaves: four parts of 0 to 255 in one
// box. A part takes digits only, at most three; a value above 255 becomes 255. Three digits, a dot
// or a blank move on to the next part; Backspace at the start of a part and the arrow keys at its
// ends move between parts.

#include <QFrame>
#include <QString>

#include <array>

class QLineEdit;

namespace dbkeel {

class IpAddressEdit : public QFrame {
    Q_OBJECT
public:
    static constexpr int kParts = 4;

    explicit IpAddressEdit(QWidget *parent = nullptr);

    // The dotted address ("192.168.0.9"), a blank part read as 0; empty when every part is blank.
    QString text() const;
    // Shows a dotted text: each part takes the digits it begins with (255 at most); a part without
    // any, or a missing part, stays blank.
    void setText(const QString &address);
    bool isBlank() const;
    QLineEdit *part(int index) const { return m_parts.at(size_t(index)); }

signals:
    void textChanged(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void partEdited(int index);
    void moveTo(int index, bool atStart);
    int indexOf(QObject *part) const;

    std::array<QLineEdit *, kParts> m_parts{};
};

}  // namespace dbkeel
