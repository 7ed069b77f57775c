#include "itemlists.h"

namespace tintra {

namespace {

const RingItem pmode[] = {{"STAT", 0}, {"DYN", 1}};
const RingItem average[] = {{"1", 1},   {"2", 2},   {"4", 4},     {"8", 8},     {"16", 16},
                            {"32", 32}, {"64", 64}, {"128", 128}, {"256", 256}, {"512", 512}};
const RingItem evalmode[] = {{"MODE 0", 0}, {"MODE 1", 1}, {"MODE 2", 2}, {"COL5", 3}};
const RingItem outmode[] = {{"DIRECT HI", OutDirectHi}, {"BINARY", 1}, {"DIRECT LO", OutDirectLo}};
const RingItem trigger[] = {{"CONT", 0}, {"SELF", 1}, {"EXT1", 2},
                            {"EXT2", 3}, {"EXT3", 4}, {"EXT4", 5}};
const RingItem exteach[] = {{"OFF", 0}, {"ON", 1}, {"STAT1", 2}, {"DYN1", 3}};
const RingItem calcmode[] = {{"X/Y INT", 0}, {"s/i M", 1}, {"X/Y/INT", 2}, {"s/i/M", 3}};
const RingItem ledmode[] = {{"DC", 0}, {"AC", 1}, {"PULSE", 2}, {"OFF", 3}};
const RingItem gain[] = {{"AMP1", 1}, {"AMP2", 2}, {"AMP3", 3}, {"AMP4", 4},
                         {"AMP5", 5}, {"AMP6", 6}, {"AMP7", 7}, {"AMP8", 8}};
const RingItem tolChoice[] = {{"VALUE CTO", 0}, {"d (X/Y)", 1}, {"d (X/Y)+VALUE CTO", 2},
                              {"NO CHANGE", 3}};

} // namespace

const std::span<const RingItem> pmodeItems{pmode};
const std::span<const RingItem> averageItems{average};
const std::span<const RingItem> evalmodeItems{evalmode};
const std::span<const RingItem> outmodeItems{outmode};
const std::span<const RingItem> triggerItems{trigger};
const std::span<const RingItem> exteachItems{exteach};
const std::span<const RingItem> calcmodeItems{calcmode};
const std::span<const RingItem> ledmodeItems{ledmode};
const std::span<const RingItem> gainItems{gain};
const std::span<const RingItem> tolChoiceItems{tolChoice};

} // namespace tintra
