// "ComSettings.cfg": four lines read through the guarded text reader. Whatever the file holds,
// the reader returns within its limits and a refused file leaves the settings untouched.
#include "core/settings/connection.h"
#include "fuzzutil.h"

using namespace tintra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    const QString path = fuzz::InputFile("ComSettings.cfg", data, size);
    ConnectionSettings s;
    s.protocol = 7;
    s.server = QStringLiteral("untouched");
    FileRead why = FileRead::Missing;
    const bool ok = ReadComSettings(path, &s, &why);
    FUZZ_CHECK(ok == (why == FileRead::Ok));
    if (!ok) {
        FUZZ_CHECK(s.protocol == 7 && s.server == QLatin1String("untouched"));
        return 0;
    }
    FUZZ_CHECK(s.server.size() <= 255 && s.portNumber.size() <= 31);
    for (const QChar end : {QLatin1Char('\n'), QLatin1Char('\r')}) // any line end ends a line
        FUZZ_CHECK(!s.server.contains(end) && !s.portNumber.contains(end));
    // What is written is read back the same.
    const QString again = fuzz::WorkDir() + QStringLiteral("/ComSettings.again");
    FUZZ_CHECK(WriteComSettings(again, s));
    ConnectionSettings t;
    FUZZ_CHECK(ReadComSettings(again, &t));
    FUZZ_CHECK(t.protocol == s.protocol && t.comPort == s.comPort);
    FUZZ_CHECK(t.portNumber.trimmed() == s.portNumber.trimmed() ||
               DecimalValue(t.portNumber) == DecimalValue(s.portNumber));
    return 0;
}
