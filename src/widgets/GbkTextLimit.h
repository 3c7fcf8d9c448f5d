#pragma once
// Text boxes limited in bytes of the text's GBK form, as records of the installation count their
// widths: what does not fit is refused as it is typed (a paste is cut), so the box never shows
// more than the record will store.

class QLineEdit;
class QPlainTextEdit;

namespace dbkeel {

void limitGbkBytes(QLineEdit *edit, int maxBytes);
void limitGbkBytes(QPlainTextEdit *edit, int maxBytes);

}  // namespace dbkeel
