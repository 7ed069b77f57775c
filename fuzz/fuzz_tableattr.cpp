// "TableAttributes.cfg" and "StartupFile.cfg" (one reader serves both): 45 colours and 31 row
// texts. Either everything is taken, the colours 0 ... 0xFFFFFF and the texts one line of at most
// 99 characters each, and written back it reads the same; or nothing is changed.
#include "core/teach/taffile.h"
#include "fuzzutil.h"

#include <algorithm>

using namespace tintra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    const QString path = fuzz::InputFile("TableAttributes.cfg", data, size);
    int colours[taColours];
    std::fill(colours, colours + taColours, -5);
    QStringList texts{QStringLiteral("untouched")};
    if (!ReadTableAttributesFile(path, colours, &texts)) {
        FUZZ_CHECK(std::all_of(colours, colours + taColours, [](int c) { return c == -5; }));
        FUZZ_CHECK(texts == QStringList{QStringLiteral("untouched")});
        return 0;
    }
    FUZZ_CHECK(std::all_of(colours, colours + taColours,
                           [](int c) { return c >= 0 && c <= 0xFFFFFF; }));
    FUZZ_CHECK(texts.size() == taTexts);
    for (const QString &t : texts)
        FUZZ_CHECK(t.size() <= taTextMax && !t.contains(QLatin1Char('\n')) &&
                   !t.contains(QLatin1Char('\r')));
    const QByteArray out = FormatTableAttributes(colours, texts);
    int colours2[taColours];
    QStringList texts2;
    FUZZ_CHECK(ParseTableAttributes(out, colours2, &texts2));
    FUZZ_CHECK(std::equal(colours, colours + taColours, colours2));
    FUZZ_CHECK(texts2 == texts);
    return 0;
}
