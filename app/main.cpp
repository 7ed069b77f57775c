// The program's entry: real popups and file dialogs, then WinMain.
#include "app/startup.h"
#include "link/platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStyleFactory>

namespace {

QMessageBox *MakeBox(const QString &title, const QString &text)
{
    auto *box = new QMessageBox();
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    return box;
}

void InstallPopups()
{
    tintra::PopupHandler h;
    h.message = [](const QString &title, const QString &text) {
        QMessageBox *box = MakeBox(title, text);
        box->setIcon(QMessageBox::Information);
        box->exec();
        delete box;
    };
    h.confirm = [](const QString &title, const QString &text) {
        QMessageBox *box = MakeBox(title, text);
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        const int r = box->exec();
        delete box;
        return r == QMessageBox::Yes ? 1 : 0;
    };
    h.fileSelect = [](const tintra::FileSelectRequest &req, QString *path) {
        const QString start = tintra::JoinPath(req.startDir, req.defaultName);
        const QString filter = req.filter.isEmpty() ? QString() : req.filter + QStringLiteral(";;*");
        const QFileDialog::Options o =
            tintra::FileDialogOptions(req, tintra::NativeDialogsUsable());
        const QString p =
            req.forSaving ? QFileDialog::getSaveFileName(nullptr, req.title, start, filter, nullptr, o)
                          : QFileDialog::getOpenFileName(nullptr, req.title, start, filter, nullptr, o);
        if (p.isEmpty())
            return int(tintra::NoFileSelected);
        *path = p;
        return QFileInfo::exists(p) ? int(tintra::ExistingFileSelected)
                                    : int(tintra::NewFileSelected);
    };
    h.colorSelect = [](const QString &title, int initial, int *rgb) {
        const QColor c = QColorDialog::getColor(
            QColor::fromRgb(QRgb(initial)), nullptr, title,
            tintra::NativeDialogsUsable() ? QColorDialog::ColorDialogOptions()
                                          : QColorDialog::DontUseNativeDialog);
        if (!c.isValid())
            return false;
        *rgb = int(c.rgb() & 0xFFFFFF);
        return true;
    };
    h.menu = [](const QStringList &entries) {
        QMenu menu;
        for (const QString &e : entries)
            menu.addAction(e);
        const QAction *chosen = menu.exec(QCursor::pos());
        return chosen ? int(menu.actions().indexOf(chosen)) : -1;
    };
    tintra::SetPopupHandler(h);
}

} // namespace

int main(int argc, char **argv)
{
    tintra::PreferLeanEventLoop();
    tintra::PreferRepaintsWithoutRoundTrip();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TintraV30"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallPopups();
    return tintra::WinMain();
}
