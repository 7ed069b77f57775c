// Parameter files: 233 numbers, one a line. Either all 233 are taken, each 0 ... 65535 and
// written back the same, or the image is left untouched.
#include "fuzzutil.h"
#include "link/codec.h"

#include <algorithm>

using namespace tintra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    const QString path = fuzz::InputFile("Parameter.ini", data, size);
    uint16_t image[anzpara];
    std::fill(image, image + anzpara, uint16_t(0xBEEF));
    if (!FileToArray(path, image, anzpara)) {
        FUZZ_CHECK(std::all_of(image, image + anzpara, [](uint16_t v) { return v == 0xBEEF; }));
        return 0;
    }
    const QString again = fuzz::WorkDir() + QStringLiteral("/Parameter.again");
    FUZZ_CHECK(ArrayToFile(again, image, anzpara));
    uint16_t back[anzpara];
    FUZZ_CHECK(FileToArray(again, back, anzpara));
    FUZZ_CHECK(std::equal(image, image + anzpara, back));
    return 0;
}
