// Info texts (right click) and the warning and confirmation texts, looked up by name.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tintra {

// The text stored under `name` (e.g. "InfoButtonSend"), or nullptr for an unknown name.
const char *InfoText(const char *name);
int InfoTextCount();

// Popup titles.
inline const char *const InfoTitle = "INFO!";
inline const char *const InfoTitleAttr = "Info"; // table-attributes panel

// A right click on `w` shows the info text `name` under `title` in a message popup.
void SetInfo(QWidget *w, const char *name, const char *title = InfoTitle);

// A right click on `w` calls `fn` (for windows whose right click does something else).
void OnRightClick(QWidget *w, std::function<void()> fn);

} // namespace tintra
