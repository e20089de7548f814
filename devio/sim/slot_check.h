#pragma once
// Whether the virtual mouse holds what the store's current profile puts into
// it: the held slot must come out unchanged from a full download of that
// profile. Macro blocks the profile does not send are the mouse's own business
// and are not compared, so the check needs no list of which blocks a profile uses.
#include <string>
#include <vector>

#include "mouse_emulator.h"

struct ProfileStore;

// One line per difference, "what: mouse X, profile Y"; empty when they agree.
// The first words name the part ("polling rate", "active level", "attributes",
// "buttons", "macro N"), so a reader can tell the parts apart.
std::vector<std::string> SlotDifferences(const MouseSlot& held, const ProfileStore& store);
