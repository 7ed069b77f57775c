#include "popupscript.h"

namespace tintra::test {

PopupScript::PopupScript()
{
    PopupHandler h;
    h.message = [this](const QString &title, const QString &text) {
        add(ShownPopup{QStringLiteral("message"), title, text, {}});
    };
    h.confirm = [this](const QString &title, const QString &text) {
        add(ShownPopup{QStringLiteral("confirm"), title, text, {}});
        return confirms.isEmpty() ? 0 : confirms.takeFirst();
    };
    h.fileSelect = [this](const FileSelectRequest &req, QString *path) {
        add(ShownPopup{QStringLiteral("file"), req.title, req.defaultName, req});
        if (files.isEmpty())
            return int(NoFileSelected);
        auto [result, p] = files.takeFirst();
        *path = p;
        return result;
    };
    h.colorSelect = [this](const QString &title, int initial, int *rgb) {
        add(ShownPopup{QStringLiteral("color"), title, QString::number(initial), {}});
        if (colors.isEmpty())
            return false;
        *rgb = colors.takeFirst();
        return true;
    };
    h.menu = [this](const QStringList &entries) {
        menus << entries;
        return menuAnswers.isEmpty() ? 0 : menuAnswers.takeFirst();
    };
    previous = SetPopupHandler(h);
}

PopupScript::~PopupScript() { SetPopupHandler(previous); }

QList<ShownPopup> PopupScript::messages() const
{
    QList<ShownPopup> out;
    for (const ShownPopup &p : shown)
        if (p.kind == QLatin1String("message"))
            out << p;
    return out;
}

} // namespace tintra::test
