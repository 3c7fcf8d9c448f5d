#pragma once
// "关于 Dbkeel": the program's icon, name, version and "确定".

#include <QDialog>

namespace dbkeel {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
};

}  // namespace dbkeel
