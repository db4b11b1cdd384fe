#pragma once
// The quantity and VIFE tables of the data-record decoder, one row per 7-bit code. The
// numbers are those of the network file's "Type" and "VIFE" attributes; -1 means none.
#include <cstdint>

namespace vif_tables {

struct TVifCode {
    std::int16_t Number;
    const char16_t* Text;
    bool Scaled;           // the value is multiplied by 10^((code & ExpMask) + ExpOffset)
    std::uint8_t ExpMask;
    std::int8_t ExpOffset;
};

extern const TVifCode Primary_VIF[128];
extern const TVifCode Extension_FD[128];
extern const TVifCode Extension_FB[128];
extern const TVifCode Combinable_VIFE[128];

}  // namespace vif_tables
