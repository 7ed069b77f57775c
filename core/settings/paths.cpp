#include "paths.h"

#include "link/platform.h"

#include <QDir>
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
        // The first start: a file shipped beside the program is copied, through the same guarded
        // reader as the settings readers. Only a regular file of settings size is copied; a pipe
        // is never opened (start-up would wait on it for ever), a huge file is not copied whole.
        if (settings_dir != programDir && !QFileInfo::exists(*paths[i]))
            CopySmallFile(JoinPath(programDir, name), *paths[i]);
    }
}

} // namespace tintra
