#pragma once

#include <cstdint>
#include <iterator>

// What each rectifier circuit means for the simulation. The circuit type is
// the index of the selected circuit-type button.
namespace sim {

struct CircuitType {
    double numDiodes;         // diodes in the conduction path
    bool halvesSource;        // the centre tap halves the source voltage and resistance
    bool doubler;             // two capacitors charged in turn
    bool blocksNegativeHalf;  // no conduction while the line voltage is negative
    double inversePeakPerEpk; // peak inverse voltage of one diode, in units of Epk
};

// Indexed by circuit type. Each bridge diode blocks the secondary's peak;
// in the other circuits a blocking diode sees the capacitor's charge plus the
// opposite peak of its winding, twice the peak.
inline constexpr CircuitType kCircuitTypes[] = {
    /* 0 "Bridge"       */ {2, false, false, false, 1},
    /* 1 "Full Wave"    */ {1, true, false, false, 2},
    /* 2 "Half Wave"    */ {1, false, false, true, 2},
    /* 3 "Doubler (FW)" */ {1, false, true, false, 2},
};

// The circuit of a type, or null for a type the simulation does not know.
constexpr const CircuitType* FindCircuitType(std::int32_t type) {
    if (type < 0 || type >= static_cast<std::int32_t>(std::size(kCircuitTypes))) {
        return nullptr;
    }
    return &kCircuitTypes[type];
}

} // namespace sim
