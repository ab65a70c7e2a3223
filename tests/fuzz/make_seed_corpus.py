#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (corpus/*.bin beside this script).

Each seed is a call sequence in the byte format of call_sequence_harness.h;
together they reach every command, every signal mode and every dispatcher
opcode, so the fuzzer starts from inputs that already go deep. Run it again
after changing the format; the replay test plays every seed in the suite.
"""
import os
import struct

# Command and signal numbers, as in call_sequence_harness.h.
DISPATCH, SET_PARAMETER, GET_PARAMETER, PROCESS_REPLACING, PROCESS, MAINS_CHANGED, SET_PROGRAM, \
    SET_PROGRAM_NAME, CLOSE_AND_REOPEN, ENTRY_WITHOUT_HOST, EDITOR_SESSION = range(11)
SILENCE, NOISE, RAW, SPIKED, CONSTANT, OPPOSITE, IMPULSE, SQUARE = range(8)

# Selectors of FuzzInput::anyFloat's table of awkward values.
NAN, NEG_NAN, SNAN, NAN_ALL, INF, NEG_INF, DENORM, NEG_DENORM, MAX_DENORM, MIN_NORMAL, MAX, NEG_MAX, \
    ZERO, NEG_ZERO, ONE, NEG_ONE, HALF, ABOVE_ONE, BELOW_ONE, TWO, E10, NEG_E10, E_10, P99, E38 = range(25)


class Seq:
    def __init__(self):
        self.data = bytearray()

    def b(self, *values):
        self.data.extend(v & 0xFF for v in values)
        return self

    def special(self, selector):  # one of the awkward floats
        return self.b(selector)

    def nominal(self, steps):  # steps / 63, 0 ... 63
        return self.b(0x40 + steps)

    def raw_float(self, value):
        return self.b(0x80).b(*struct.pack('<f', value))

    def index(self, i):
        if 0 <= i < 64:
            return self.b(i)
        if -128 <= i < 128:
            return self.b(0x40, i)
        return self.b(0xC0).b(*struct.pack('<i', i))

    def value(self, v):
        if 0 <= v <= 3:
            return self.b(v)
        if -128 <= v < 128:
            return self.b(0x80, v)
        return self.b(0xC1).b(*struct.pack('<i', v))

    def text(self, s):
        raw = s.encode('latin-1')
        return self.b(len(raw)).b(*raw)

    # ---- commands
    def dispatch(self, opcode, index=0, value=0, opt=None, pointer=1, extra=None):
        if extra is None:  # an empty text or chunk where the opcode reads one
            extra = b'\x00' if opcode in (4, 24, 27, 51) else b''
        self.b(DISPATCH, opcode + 5).index(index).value(value)
        self.special(ZERO) if opt is None else self.raw_float(opt)
        self.b(pointer)
        return self.b(*extra)

    def set_parameter(self, i, selector=None, raw=None, steps=None):
        self.b(SET_PARAMETER).index(i)
        if raw is not None:
            return self.raw_float(raw)
        if steps is not None:
            return self.nominal(steps)
        return self.special(selector)

    def get_parameter(self, i):
        return self.b(GET_PARAMETER).index(i)

    def frames(self, n):
        return self.b(n & 0xFF, n >> 8)

    def noise(self, amplitude_steps=63, seed=1):
        return self.b(NOISE).nominal(amplitude_steps).b(seed & 0xFF, seed >> 8)

    def replacing(self, n, signal=None, in_place=False):
        self.b(PROCESS_REPLACING).frames(n)
        self.noise() if signal is None else signal(self)
        return self.b(1 if in_place else 0)

    def adding(self, n, signal=None):
        self.b(PROCESS).frames(n)
        return self.noise() if signal is None else signal(self)

    def mains(self, v):
        return self.b(MAINS_CHANGED).value(v)

    def program(self, v):
        return self.b(SET_PROGRAM).value(v)

    def rename(self, s):
        return self.b(SET_PROGRAM_NAME).text(s)


def seeds():
    s = {}

    q = Seq()
    for n in (512, 64, 2, 4096, 256):
        q.replacing(n)
    q.adding(512)
    s['init_blocks'] = q

    q = Seq().program(1)
    for switch in (53, 54, 55, 56):
        q.set_parameter(switch, ZERO).replacing(256).set_parameter(switch, ONE).replacing(256)
    q.set_parameter(53, HALF).get_parameter(53).replacing(256)
    s['dattorro_switches'] = q

    q = Seq()
    for i, selector in enumerate([NAN, INF, NEG_INF, MAX, NEG_MAX, DENORM, E10, NEG_E10, SNAN, NEG_ZERO] * 6):
        if i < 58:
            q.set_parameter(i, selector)
    q.replacing(1024).adding(1024).replacing(1024)
    s['wild_parameters'] = q

    q = Seq().dispatch(0)  # effOpen
    q.dispatch(10, opt=48000.0).dispatch(11, value=512).mains(1).replacing(512)
    q.mains(0).replacing(512).mains(1).replacing(512)
    q.b(CLOSE_AND_REOPEN).replacing(512).dispatch(1).replacing(64)
    s['lifecycle'] = q

    q = Seq()
    for opcode in range(-5, 71):
        q.dispatch(opcode, value=0 if opcode != 2 else 1)
    for opcode in range(-5, 71):
        if opcode != 1:
            q.dispatch(opcode, index=-1, value=-1, pointer=0)  # null pointers
    q.dispatch(24, extra=bytes([8]) + b'chunk!!!')  # effSetChunk with 8 bytes
    q.replacing(128)
    s['every_opcode'] = q

    q = Seq().rename('A name far longer than twenty-three characters').dispatch(5)
    q.program(1).rename('').dispatch(5).program(0).dispatch(5).rename('Hall').program(2).program(-1).dispatch(3)
    q.dispatch(4, extra=bytes([5]) + b'Plate')
    s['program_names'] = q

    q = Seq().b(EDITOR_SESSION, 3).dispatch(13).dispatch(14).dispatch(19).replacing(256).dispatch(15)
    q.dispatch(13, pointer=0).dispatch(14, pointer=0).dispatch(19)
    s['editor'] = q

    q = Seq()
    for n in (0, 1, 3, 4095, 4096, 7):
        q.replacing(n).replacing(n, in_place=True).adding(n)
    s['frame_counts'] = q

    q = Seq()
    q.replacing(4, lambda x: x.b(RAW).b(*struct.pack('<8f', float('nan'), float('inf'), float('-inf'), 1e30,
                                                           -1e30, 1e-45, 0.0, -0.0)))
    q.replacing(512, lambda x: x.b(SPIKED).b(3).frames(10).b(0).special(NAN).frames(100).b(1).special(INF)
                .frames(200).b(0).special(MAX))
    q.replacing(512, lambda x: x.b(CONSTANT).special(INF))
    q.replacing(512, lambda x: x.b(CONSTANT).raw_float(8.0))
    q.replacing(512, lambda x: x.b(OPPOSITE))
    q.replacing(512, lambda x: x.b(IMPULSE).special(MAX))
    q.replacing(512, lambda x: x.b(SQUARE).nominal(63).b(10))
    q.replacing(512, lambda x: x.b(SILENCE))
    s['nonfinite_input'] = q

    s['entry_without_host'] = Seq().b(ENTRY_WITHOUT_HOST).replacing(64)

    q = Seq()  # source on the listener: a reflection at distance 0
    for i, steps in ((32, 20), (33, 20), (34, 20), (35, 20), (29, 63)):
        q.set_parameter(i, steps=steps)
    q.replacing(2048, lambda x: x.b(IMPULSE).nominal(63)).replacing(2048)
    s['room_on_listener'] = q

    q = Seq()  # comb feedback without decay, none, negative; a loud tank
    for selector in (ONE, ZERO, NEG_ONE, ABOVE_ONE):
        q.set_parameter(1, selector).replacing(1024, lambda x: x.b(SQUARE).nominal(63).b(50))
    for i in (21, 22, 23, 24, 13, 14):
        q.set_parameter(i, raw=1.5)
    q.replacing(4096).replacing(4096).set_parameter(52, TWO).replacing(4096)
    s['combs_and_feedback'] = q

    q = Seq()  # every output tap at its end, odd distances
    for i in range(36, 48):
        q.set_parameter(i, steps=(i * 7) % 64)
    q.set_parameter(0, raw=0.04).replacing(1024).set_parameter(0, steps=63).replacing(1024)
    s['stereo_taps'] = q

    q = Seq()  # out-of-range indices everywhere
    for i in (-1, 58, 63, -128, 2**31 - 1, -2**31):
        q.set_parameter(i, ONE).get_parameter(i)
        q.dispatch(8, index=i).dispatch(26, index=i).dispatch(7, index=i)
    q.program(3).program(-5)
    s['bad_indices'] = q
    return s


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
    os.makedirs(folder, exist_ok=True)
    for name, seq in sorted(seeds().items()):
        with open(os.path.join(folder, name + '.bin'), 'wb') as out:
            out.write(bytes(seq.data))


if __name__ == '__main__':
    main()
