// A hostile host talking to the emulated mouse: any sequence of feature
// reports and data reports of any length, and any control command text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mouse_emulator.h"
#include "sim_control.h"
#include "slot_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MouseEmulator mouse;
    size_t pos = 0;
    int calls = 0;
    // Each call: a kind byte (bit 0: data report, bit 1: unplug first) and a
    // length byte, then that many bytes (or what is left).
    while (pos + 2 <= size) {
        const uint8_t kind = data[pos];
        const size_t length = data[pos + 1];
        pos += 2;
        const size_t available = std::min(length, size - pos);
        if (kind & 2) mouse.PowerCycle();
        const int before = mouse.ProtocolErrors();
        if (kind & 1)
            mouse.OnWriteUSB(data + pos, static_cast<int>(available));
        else
            mouse.OnSetFeature(data + pos, static_cast<int>(available));
        if (mouse.ProtocolErrors() < before || mouse.ProtocolErrors() > before + 2) std::abort();
        pos += available;
        ++calls;
    }
    if (mouse.ProtocolErrors() > 2 * calls) std::abort();
    (void)SlotSummary(DecodeSlot(mouse.Slot()));
    (void)DecodeSimCommand(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
