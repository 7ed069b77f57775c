#include "paths.h"

#include "link/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tintra {

QString proj_dir;
QString file_name;
QString settings_dir;
QString ipComboBoxFileName;
QString conSettingsFileName;
QString colorArrayStartupFileName;

void BuildSettingsPaths(const QString &programDir, const QString &fallbackDir)
{
    proj_dir = programDir;
    const QFileInfo fi(programDir);
    const bool writable = fi.isDir() && fi.isWritable();
    settings_dir = (writable || fallbackDir.isEmpty()) ? programDir : fallbackDir;
    if (settings_dir != programDir)
        QDir().mkpath(settings_dir);

    QString *const paths[] = {&ipComboBoxFileName, &conSettingsFileName,
                              &colorArrayStartupFileName};
    const char *const names[] = {"IPComboBox.cfg", "ComSettings.cfg", "StartupFile.cfg"};
    for (int i = 0; i < 3; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        *paths[i] = JoinPath(settings_dir, name);
        if (settings_dir != programDir && !QFileInfo::exists(*paths[i])) {
            const QString shipped = JoinPath(programDir, name);
            if (QFileInfo::exists(shipped))
                QFile::copy(shipped, *paths[i]);
        }
    }
}

} // namespace tintra
