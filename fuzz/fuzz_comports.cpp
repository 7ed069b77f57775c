// "ComPorts.cfg": which device a COM port number means. Byte 0 is the port number asked for; the
// rest is the file. Any file gives a device name of one line, never an empty one; choosing a device
// for the number makes it mean that device at once, whatever line ends the file had.
#include "fuzzutil.h"
#include "link/serialports.h"
#include "link/transport.h"

using namespace tintra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    if (size < 1)
        return 0;
    static const bool dirSet = [] {
        SetComPortsCfgDir(fuzz::WorkDir());
        return true;
    }();
    (void)dirSet;
    const int n = data[0] + 1; // 1 ... 256
    fuzz::InputFile("ComPorts.cfg", data + 1, size - 1);
    const QString device = ComPortDevice(n);
    FUZZ_CHECK(!device.isEmpty());
    FUZZ_CHECK(!device.contains(QLatin1Char('\n')) && !device.contains(QLatin1Char('\r')));
    FUZZ_CHECK(device == device.trimmed());
    const QString chosen = QStringLiteral("/dev/ttyFUZZ");
    if (MapComPort(n, chosen))
        FUZZ_CHECK(ComPortDevice(n) == chosen);
    return 0;
}
