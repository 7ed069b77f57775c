// Shared builder of the two big number windows (colour number, group number).
#pragma once

#include <QWidget>

class QLabel;

namespace tintra {

// Builds a big-number window on `w`: the number in large digits above the sensor identification.
void BuildBigNumberWindow(QWidget *w, const QString &title, const char *numberName,
                          const char *idName, QLabel **number, QLabel **id);

} // namespace tintra
