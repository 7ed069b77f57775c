// Item lists of the parameter rings. The codes are the values the sensor uses; each item carries
// its code as item data. The lists that the sensor's documentation fixes (AVERAGE choices, GAIN
// codes, which OUTMODE code drives the outputs high, EVALMODE names) live only here.
#pragma once

#include <cstdint>
#include <span>

namespace tintra {

struct RingItem {
    const char *label;
    int code;
};

extern const std::span<const RingItem> pmodeItems;
extern const std::span<const RingItem> averageItems;
extern const std::span<const RingItem> evalmodeItems;
extern const std::span<const RingItem> outmodeItems;
extern const std::span<const RingItem> triggerItems;   // full list, CONT ... EXT4
extern const std::span<const RingItem> exteachItems;
extern const std::span<const RingItem> calcmodeItems;
extern const std::span<const RingItem> ledmodeItems;
extern const std::span<const RingItem> gainItems;
extern const std::span<const RingItem> tolChoiceItems; // teach panel: items 0 ... 3

// Codes the rules refer to.
constexpr uint16_t OutDirectHi = 0;
constexpr uint16_t OutDirectLo = 2;
constexpr uint16_t TriggerCont = 0, TriggerSelf = 1, TriggerExt1 = 2;
constexpr uint16_t ExteachOff = 0, ExteachOn = 1, ExteachStat1 = 2, ExteachDyn1 = 3;
constexpr uint16_t LedmodeOff = 3;
constexpr uint16_t EvalNoColTol = 2; // evaluation mode without a colour tolerance

} // namespace tintra
