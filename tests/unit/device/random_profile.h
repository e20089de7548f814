#pragma once
// Random profiles that reach every branch of the download builders (every
// lighting case, unknown codes, macros of every length, negative and oversized
// values), and the check that a decoded mouse slot matches such a profile.
// Shared by the native round trip and the test under Wine.
#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

#include "button_assignment.h"
#include "download_sequence.h"
#include "profile_record.h"
#include "profile_store.h"
#include "slot_decoder.h"

namespace device_test {

template <typename T>
T Pick(std::mt19937& rng, std::initializer_list<T> values) {
    std::uniform_int_distribution<size_t> d(0, values.size() - 1);
    return *(values.begin() + static_cast<std::ptrdiff_t>(d(rng)));
}

inline int Uniform(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// Keys of the keyboard and mouse pages; usage 2 never comes from a keyboard.
inline uint8_t RandomKey(std::mt19937& rng) {
    return Uniform(rng, 0, 9) == 0 ? uint8_t(Uniform(rng, 240, 244)) : uint8_t(Uniform(rng, 4, 231));
}

inline uint16_t RandomDelay(std::mt19937& rng) {
    switch (Uniform(rng, 0, 4)) {
    case 0: return 0;
    case 1: return uint16_t(Uniform(rng, 1, 1279));
    case 2: return uint16_t(Uniform(rng, 1280, 12799));
    case 3: return uint16_t(Uniform(rng, 12800, 65535));
    default: return uint16_t(Uniform(rng, 0, 100) * 10);
    }
}

inline void RandomMacro(std::mt19937& rng, ButtonAssignment& b) {
    b.repeatMode = Pick(rng, {0, 0, 1, 1, 2, 3, -1, 7, INT_MIN});
    b.repeatCount = Pick(rng, {2, 200, 255, 0, -1, 70000, INT_MIN});
    const int steps = Pick(rng, {0, 1, 2, 5, 20, 63, 64, 100, 160});
    b.eventCount = uint16_t(steps);
    for (int i = 0; i < steps; ++i) {
        MacroEvent& e = b.events[i];
        if (Uniform(rng, 0, 3) == 0) {
            e = {kDelayStepKey, 0, RandomDelay(rng)};
        } else {
            e = {RandomKey(rng), uint8_t(Pick(rng, {1, 1, 2, 0, 9})), RandomDelay(rng)};
        }
    }
    // Now and then a count the store reader would have cut.
    if (Uniform(rng, 0, 9) == 0) b.eventCount = 161;
}

inline void RandomProfile(std::mt19937& rng, ProfileRecord& p, int macroButtons = -1) {
    std::memset(&p, 0, sizeof p);
    ResetProfileMonitor(p);
    CopyToField(p.ProFileName, u"Random");
    p.PollingRate = Pick(rng, {1, 2, 4, 8, 3, 0, -1, 260, INT_MAX});
    p.CpiStep = Pick(rng, {0, 1, 2, 3, 4, -1, 7, 255, INT_MIN});
    p.MaxDPI = Pick(rng, {1, 2, 3, 4, 5, 0, -3, 300});
    for (int i = 0; i < kDpiLevels; ++i) p.CpiLevel_X[i] = Pick(rng, {Uniform(rng, 2, 100), Uniform(rng, -200, 400), INT_MIN, INT_MAX});
    for (int i = 0; i < kDpiLevels; ++i) p.CpiLevel_Y[i] = Uniform(rng, -5, 200);
    p.LightSwitch = Uniform(rng, -1, 4);
    p.LightIntensity = Uniform(rng, -1, 3);
    p.LightSpeed = Uniform(rng, -1, 3);
    p.LightDir = Pick(rng, {0, 1, 2, -1, 300});
    for (int i = 0; i < kDpiColors; ++i) p.DPIColor[i] = int32_t(std::uniform_int_distribution<uint32_t>()(rng));
    int macros = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonAssignment& b = p.MacroKeyInfo[i];
        ResetAssignmentState(b, i);
        const bool wantMacro = macroButtons < 0 ? Uniform(rng, 0, 3) == 0 : macros < macroButtons && i % 3 == 0;
        if (wantMacro) {
            ++macros;
            b.FunctionClass = kClassMacro;
            b.FunctionCode = Uniform(rng, 0, 5) == 0 && macroButtons < 0 ? uint8_t(Pick(rng, {50, 56, 62}))
                                                                         : kCodeMacro;
            if (b.FunctionCode == kCodeMacro) RandomMacro(rng, b);
            continue;
        }
        switch (macroButtons < 0 ? Uniform(rng, 0, 4) : 0) {
        case 0: ResetToDefault(b, i); break;
        case 1:  // any row of the table, or a code it does not hold
            b.FunctionCode = uint8_t(Pick(rng, {0, 6, 11, 13, 18, 22, 23, 24, 25, 31, 33, 42, 52, 112, 117, 120, 21,
                                                43, 61, 99, 200, 255}));
            break;
        case 2:
            b.FunctionClass = kClassKeyboardKey;
            b.FunctionCode = kCodeKeyboardKey;
            b.setKey(RandomKey(rng), uint8_t(Uniform(rng, 0, 255)));
            break;
        case 3:
            b.FunctionClass = kClassLaunch;
            b.FunctionCode = Pick(rng, {kCodeLaunchProgram, kCodeLaunchCommand});
            CopyToField(b.program, u"C:\\Games\\game.exe");
            break;
        default:
            b.FunctionCode = uint8_t(Uniform(rng, 0, 255));
            break;
        }
    }
}

// What the mouse should hold of a macro's steps after the block went through:
// merged delays, the delay as the step form can carry it, the end of the block.
inline std::vector<DecodedStep> ExpectedSteps(const ButtonAssignment& b) {
    std::vector<MacroEvent> merged;
    const int count = std::min<int>(b.eventCount, kMaxMacroEvents);
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = b.events[i];
        if (e.keyCode == kDelayStepKey && !merged.empty()) {
            merged.back().delay = uint16_t(std::min(65535, merged.back().delay + e.delay));
        } else {
            merged.push_back(e);
        }
    }
    std::vector<DecodedStep> out;
    size_t pos = 2;
    for (const MacroEvent& e : merged) {
        if (pos >= 128) break;
        const int tenths = e.delay / 10;
        const bool longForm = tenths > 127;
        DecodedStep s{e.keyCode, e.pressFlag == 1, 0, longForm};
        if (!longForm) {
            s.delayMs = (tenths | 1) * 10;
            pos += 2;
        } else if (pos + 4 <= 128) {
            s.delayMs = std::min(e.delay / 50, 255) * 50;
            pos += 4;
        } else {
            // Cut at the end of the block: what is left reads as a short step.
            s.longForm = false;
            s.delayMs = 10;
            pos += 2;
        }
        out.push_back(s);
    }
    return out;
}

inline uint16_t ExpectedRepeatHeader(const ButtonAssignment& b) {
    if (b.repeatMode == 0) return 1;
    if (b.repeatMode == 1) return uint16_t(b.repeatCount);
    return 0;
}

// Checks the decoded slot against the profile for every part `parts` sent.
// Returns a list of differences (empty when the mouse matches).
inline std::vector<std::string> CompareSlot(const DecodedSlot& d, const MouseSlot& raw, const ProfileRecord& p,
                                            const PartFlags& parts) {
    std::vector<std::string> diff;
    const auto check = [&](bool ok, const std::string& what) {
        if (!ok) diff.push_back(what);
    };
    if (parts.pollingRate) check(d.pollingRate == uint8_t(p.PollingRate), "polling rate");
    if (parts.dpiStep) check(raw.activeLevel == uint8_t(uint8_t(p.CpiStep) + 1), "active level");
    if (parts.attributes) {
        check(d.fixedBytesIntact, "fixed attribute bytes");
        check(d.maxDpi == uint8_t(p.MaxDPI), "MaxDPI");
        for (int i = 0; i < kDpiLevels; ++i) {
            check(d.dpiBytesX[i] == uint8_t(uint32_t(p.CpiLevel_X[i]) * 2u), "DPI X " + std::to_string(i));
            check(d.dpiBytesY[i] == d.dpiBytesX[i], "DPI Y " + std::to_string(i));
        }
        const int decider = p.LightSwitch == 1 ? p.LightIntensity : p.LightSpeed;
        const bool valid = p.LightSwitch == 0 || (p.LightSwitch >= 1 && p.LightSwitch <= 3 && decider >= 0 && decider <= 2);
        if (!valid) {
            check(d.lighting.lightSwitch == -1, "lighting fallback");
        } else {
            check(d.lighting.lightSwitch == p.LightSwitch, "light mode");
            if (p.LightSwitch != 0) check(d.lighting.level == decider, "light level");
            if (p.LightSwitch == 3) check(d.lighting.direction == uint8_t(p.LightDir), "light direction");
        }
        const uint32_t divisor = p.LightIntensity == 0 ? 40 : p.LightIntensity == 1 ? 20 : 5;
        for (int i = 0; i < kDpiLevels; ++i)
            for (int c = 0; c < 3; ++c)
                check(d.colours[i][c] == ((uint32_t(p.DPIColor[i]) >> (8 * c)) & 0xFF) / divisor,
                      "colour " + std::to_string(i));
    }
    if (!parts.keys) return diff;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& b = p.MacroKeyInfo[i];
        const DecodedButton& got = d.buttons[i];
        const std::string name = "button " + std::to_string(i);
        // Which codes exist is the decoder's table's word, so that a row the
        // encoder lacks or adds shows up as a difference.
        if (!SlotKnowsFunction(b.FunctionCode)) {
            check(got.entry == ButtonEntry{}, name + " unknown code sends zeros");
            continue;
        }
        check(std::find(got.codes.begin(), got.codes.end(), b.FunctionCode) != got.codes.end(), name + " code");
        if (b.FunctionCode == kCodeKeyboardKey) {
            check(got.keyCode == b.keyCode(), name + " key");
            check(got.modifiers == uint8_t(b.keyModifierByte() >> 1), name + " modifiers");
        }
        if (got.entry.kind != 0x09) continue;
        const DecodedMacro& m = d.macros[i];
        if (b.FunctionCode != kCodeMacro) {
            check(m.empty, name + " empty macro block");
            continue;
        }
        check(m.repeatHeader == ExpectedRepeatHeader(b), name + " repeat header");
        const bool modeInEntry = b.eventCount != 0 && b.repeatMode != 0 && b.repeatMode != 1;
        check(got.entry.arg1 == (modeInEntry ? uint8_t(uint32_t(b.repeatMode) - 1u) : 0), name + " repeat mode");
        const auto expected = ExpectedSteps(b);
        check(m.steps.size() == expected.size(), name + " step count");
        for (size_t s = 0; s < std::min(m.steps.size(), expected.size()); ++s) {
            const DecodedStep &a = m.steps[s], &e = expected[s];
            check(a.key == e.key && a.press == e.press && a.delayMs == e.delayMs,
                  name + " step " + std::to_string(s));
        }
    }
    return diff;
}

}  // namespace device_test
