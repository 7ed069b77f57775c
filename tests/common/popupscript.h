// Answers popups and file dialogs from a script, and records what they said.
// Install one for the life of a test; nothing modal ever opens.
#pragma once

#include "link/platform.h"

#include <QList>
#include <QString>
#include <functional>

namespace tintra::test {

struct ShownPopup {
    QString kind; // "message", "confirm", "file" or "color"
    QString title;
    QString text; // for a file dialog: the default name
    FileSelectRequest request;
};

class PopupScript {
public:
    PopupScript();
    ~PopupScript();
    PopupScript(const PopupScript &) = delete;
    PopupScript &operator=(const PopupScript &) = delete;

    // Answers used in order; when a queue is empty a confirmation says no and a file dialog
    // chooses nothing.
    void answerConfirm(int answer) { confirms << answer; }
    void answerFile(int result, const QString &path) { files << qMakePair(result, path); }
    // A colour picker chooses the next colour queued; with none queued it is cancelled.
    void answerColor(int rgb) { colors << rgb; }
    // A context menu chooses the next index queued (-1 dismisses it); with none queued it
    // chooses its first entry, which is what a right click did before it opened a menu.
    void answerMenu(int index) { menuAnswers << index; }
    QList<QStringList> menus; // the entries of every context menu shown

    // Runs while each popup is up, before it is answered (to look at the window behind it).
    std::function<void(const ShownPopup &)> whileShown;

    QList<ShownPopup> shown;
    QList<ShownPopup> messages() const;
    void clear() { shown.clear(); }

private:
    void add(ShownPopup p)
    {
        shown << p;
        if (whileShown)
            whileShown(p);
    }
    QList<int> confirms;
    QList<QPair<int, QString>> files;
    QList<int> colors;
    QList<int> menuAnswers;
    PopupHandler previous;
};

} // namespace tintra::test
