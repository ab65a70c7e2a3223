// Plays fuzz inputs to the LV2 plug-in through its descriptor (lv2_descriptor,
// linked in), as a host does: instantiate, connect_port, activate, run,
// deactivate, cleanup. Instances at the usual rates are kept across inputs
// (each input begins with the ports at the plug-in's defaults and a
// deactivate and activate); an input at another rate gets a fresh instance.
// play answers "" when every check passed, else the first failure.
//
// Input: a rate byte (below 0xF0 one of kUsualRates, else a float from
// FuzzInput::anyFloat: 0, negative, NaN, tiny or huge), then blocks while the
// input lasts, each: frames (16 bits, modulo kMaxBlockFrames + 1), a noise
// seed byte, a change count byte (% 8) and per change a port byte (modulo
// the port count + 2: two ports past the layout) and a value
// (FuzzInput::anyFloat); a change to an audio port disconnects it when the
// value is NaN, else connects it again. Instantiate may refuse a rate; every
// run keeps the output promise (outputs start as NaN, so a frame left
// unwritten shows).
#pragma once

#include <lv2/core/lv2.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

class Lv2Harness {
public:
    static constexpr std::int32_t kMaxBlockFrames = 1024;
    static constexpr std::int64_t kFramesAnInput = 4 * kMaxBlockFrames;

    Lv2Harness();
    ~Lv2Harness();
    Lv2Harness(const Lv2Harness&) = delete;
    Lv2Harness& operator=(const Lv2Harness&) = delete;

    std::string play(const std::uint8_t* data, std::size_t size);

private:
    const LV2_Descriptor* descriptor;
    std::map<float, LV2_Handle> kept;  // by rate
};
