#include "combobox.h"

namespace tintra {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent) { setEditable(true); }

} // namespace tintra
