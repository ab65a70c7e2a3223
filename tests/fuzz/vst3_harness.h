// Plays fuzz inputs to one VST 3 instance kept across inputs; before each
// input the instance gets back its first component and controller states and
// starts from silence. Each play answers "" when every check passed, else
// the first failure.
//
// State input: a selector byte (bit 0: the controller's setState, else the
// component's; bits 1-2: the bytes one read of the stream gives, 1, 7, 64 or
// all), then the state's bytes. Refused or accepted, never a crash; refused,
// both states and a short render are exactly what they were; accepted, the
// state saved then reads back as itself and the render keeps the output promise.
//
// Event input: blocks while the input lasts, each: frames (16 bits, modulo
// kEventBlockFrames + 1), a noise seed byte, a queue count byte (% 8), and per
// queue a parameter id (see anyParameterId in the source), a point count byte
// (% 8) and points of (FuzzInput::anyOffset, FuzzInput::anyDouble): offsets
// out of order, repeated, negative or past the block included. Every block is
// processed (kResultOk) and keeps the output promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/vst3_fuzz_instance.h"

class Vst3Harness {
public:
    static constexpr std::int32_t kEventBlockFrames = 512;
    static constexpr std::int64_t kFramesAnInput = 8 * kEventBlockFrames;

    Vst3Harness();
    std::string playState(const std::uint8_t* data, std::size_t size);
    std::string playEvents(const std::uint8_t* data, std::size_t size);
    // Whether the last playState's state was accepted, for a test that the seeds reach both answers.
    bool lastStateAccepted() const { return accepted; }

private:
    std::string restore();
    // From silence, a fixed noise block without changes: the instance's sound.
    std::vector<float> probe(std::string& failure);
    bool accepted = false;

    Vst3FuzzInstance instance;
    std::vector<std::uint8_t> firstComponentState, firstControllerState;
};
