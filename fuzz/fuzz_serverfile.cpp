// "IPComboBox.cfg": the remembered servers, 100-byte records. At most ten non-empty entries of at
// most 100 bytes come out of any file; a list in the record layout reads back unchanged.
#include "core/settings/connection.h"
#include "fuzzutil.h"

using namespace tintra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    const QString path = fuzz::InputFile("IPComboBox.cfg", data, size);
    FileRead why = FileRead::Missing;
    const QStringList servers = ReadServerFile(path, &why);
    FUZZ_CHECK(servers.size() <= 10);
    FUZZ_CHECK(why == FileRead::Ok || servers.isEmpty());
    for (const QString &s : servers)
        FUZZ_CHECK(!s.isEmpty() && s.size() <= 100 && !s.contains(QLatin1Char('\n')) &&
                   !s.contains(QLatin1Char('\r')));
    ServerFileInLayout(path);
    if (servers.isEmpty())
        return 0;
    // Rewritten, the list is in the layout and reads back as written (texts cut to 99 bytes). The
    // bytes WriteServerFile writes are checked in memory: writing whole files is tested elsewhere
    // and would slow the run down to the disk's pace.
    const QByteArray again = FormatServerList(servers);
    FUZZ_CHECK(ServerListInLayout(again));
    QStringList expected;
    for (const QString &s : servers) {
        const QString cut = CutServerText(s);
        const qsizetype zero = cut.indexOf(QChar(0));
        const QString shown = zero >= 0 ? cut.left(zero) : cut;
        if (!shown.isEmpty())
            expected << QString::fromUtf8(shown.toUtf8());
    }
    FUZZ_CHECK(ParseServerList(again) == expected);
    return 0;
}
