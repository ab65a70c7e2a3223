// Plays fuzz inputs to one CLAP instance kept across inputs; before each
// input the instance loads its first state, gets the bypass off through
// params.flush and is deactivated and activated, so it starts from silence.
// Each play answers "" when every check passed, else the first failure.
//
// State input: a selector byte (bits 0-1: the bytes one read of the stream
// gives, 1, 7, 64 or all; bit 2: the stream ends in an error instead of 0),
// then the state's bytes. Refused or accepted, never a crash; refused, the
// saved state and a short render are exactly what they were; accepted, the
// state saved then reads back as itself and the render keeps the output promise.
//
// Event input: blocks while the input lasts, each: frames (16 bits, modulo
// kEventBlockFrames + 1), a noise seed byte, a flags byte (bit 0: the host's
// output list refuses events; bit 1: the events go through params.flush
// before the block instead of with it), an event count byte (% 16) and the
// events (see readEvent in the source): parameter values, modulations,
// gestures, notes, transport or unknown types, times out of order or past the
// block, wrong sizes and foreign spaces included. Every block is processed
// (not CLAP_PROCESS_ERROR) and keeps the output promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/clap_fuzz_instance.h"

class ClapHarness {
public:
    static constexpr std::int32_t kEventBlockFrames = 512;
    static constexpr std::int64_t kFramesAnInput = 8 * kEventBlockFrames;

    ClapHarness();
    std::string playState(const std::uint8_t* data, std::size_t size);
    std::string playEvents(const std::uint8_t* data, std::size_t size);
    // Whether the last playState's state was accepted, for a test that the seeds reach both answers.
    bool lastStateAccepted() const { return accepted; }

private:
    std::string restore();
    // From silence, a fixed noise block without events: the instance's sound.
    std::vector<float> probe(std::string& failure);
    bool accepted = false;

    ClapFuzzInstance instance;
    std::vector<std::uint8_t> firstState;
};
