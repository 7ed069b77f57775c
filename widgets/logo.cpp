#include "logo.h"

namespace tintra {

Logo::Logo(QWidget *parent) : QWidget(parent) {}

} // namespace tintra
