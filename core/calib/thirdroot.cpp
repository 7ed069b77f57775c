// The cube-root table: computing it and downloading it to the sensor.
#include "calib.h"
#include "calibarith.h"

#include "core/transfer/transfer.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

namespace tintra {

namespace {
constexpr double rootStartPause = 0.2; // the sensor prepares the table after order 180
}

void Calc3rdRoot() { FillRootTable(data3rdRoot); }

void Send3rdRoot()
{
    Calc3rdRoot();
    if (comprotocol == 0)
        FlushQueues();
    order = OrderRootStart;
    FillTxBuf(order, 0, rootTableBase, 0);
    WriteFrame();
    CheckEcho(2);
    if (comecho == 0)
        return;
    WaitUntil(Timer(), rootStartPause, false);

    order = OrderRootBlock;
    for (int b = 0; b < rootChunks; ++b) {
        const RootChunk c = RootChunkOf(b);
        FillTxBuf(order, uint16_t(c.first), c.address, c.count);
        WriteFrame();
        CheckEcho(c.count + 4);
        if (comecho == 0)
            return;
    }
}

} // namespace tintra
