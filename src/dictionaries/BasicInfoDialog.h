#pragma once
// The basic-information field view: tb_id_info, read only.

#include "dictionaries/BasicInfoList.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class BasicInfoDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit BasicInfoDialog(QWidget *parent = nullptr);
    BasicInfoList &fields() { return m_fields; }

private:
    BasicInfoList m_fields;
};

}  // namespace dbkeel
