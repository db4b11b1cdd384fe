#pragma once
// The engineering units of BACnet objects: the numbers 0..236 of the BACnetEngineeringUnits
// enumeration of ANSI/ASHRAE 135, their names as the standard writes them (hyphenated, with
// Celsius, Fahrenheit and Kelvin capitalised except in units 141 and 236, Newton only in 185,
// and "pH"), and the 23 categories the unit picker lists them by.
#include <span>

#include "plat/String.h"

constexpr int kBACnet_Unit_Count = 237;

// The name of unit `unit`; "unknown" outside 0..236.
const char16_t* BACnet_Unit_Name(int unit);

struct TBACnet_Unit_Category {
    const char16_t* Name;
    std::span<const short> Units;  // in the picker's list order
};

// The 23 categories in the picker's order; every unit 0..236 is in exactly one of them.
std::span<const TBACnet_Unit_Category> BACnet_Unit_Categories();
