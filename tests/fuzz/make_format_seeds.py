#!/usr/bin/env python3
"""Writes the seeds of the VST 3, CLAP and LV2 harnesses (HARNESS/corpus/*.bin
beside this script), in the input formats that vst3_harness.h, clap_harness.h
and lv2_harness.h describe: well-formed states of both kinds and damaged ones,
blocks of parameter changes and events at awkward offsets, runs at several
rates with port changes. Run it again after changing a format; the replay
test plays every seed in the suite.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
PARAMETERS = 58
SWITCHES = range(53, 57)
BYPASS, PROGRAM = 1000, 1001

# FuzzInput selectors: anyFloat's awkward values and nominal grid, anyOffset's kinds.
F_NAN, F_INF, F_NEG_INF, F_DENORM, F_MAX, F_ZERO, F_ONE, F_NEG_ONE, F_ABOVE_ONE, F_E10 = 0, 4, 5, 6, 10, 12, 14, 15, 17, 20
O_AT_END, O_PAST, O_NEGATIVE = 0x80, 0xA0 + 7, 0xC0 + 3


def nominal(steps):  # anyFloat: steps / 63
    return bytes([0x40 + steps])


def raw_float(value):
    return bytes([0x80]) + struct.pack('<f', value)


def any_double(float_bytes):  # anyDouble: even selector, then an anyFloat
    return b'\x00' + float_bytes


def raw_double(value):
    return b'\x01' + struct.pack('<d', value)


def within(offset):  # anyOffset: a frame inside the block (taken modulo its length)
    return bytes([0x00]) + struct.pack('<H', offset)


def plugin_state(current=0, values=None, names=(b'Init', b'Dattorro')):
    values = values or [[1.0 if i in SWITCHES else 0.5 for i in range(PARAMETERS)] for _ in range(2)]
    data = b'RPst' + struct.pack('<II', 1, current)
    for name, program in zip(names, values):
        data += name.ljust(24, b'\x00')[:24] + struct.pack('<%df' % PARAMETERS, *program)
    return data


def vst3_state(flags=0, **kw):
    return b'RPv3' + struct.pack('<II', 1, flags) + plugin_state(**kw)


def edited(value_at):
    return [[value_at(i, p) for i in range(PARAMETERS)] for p in range(2)]


def write(harness, name, data):
    folder = os.path.join(HERE, harness, 'corpus')
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + '.bin'), 'wb') as f:
        f.write(data)


def damaged(good):
    """Ways a saved state comes back broken, each a name and its bytes."""
    return {
        'empty': b'',
        'magic_only': good[:4],
        'truncated_by_one': good[:-1],
        'one_byte_long': good + b'\x00',
        'other_magic': b'XXXX' + good[4:],
        'newer_version': good[:4] + struct.pack('<I', 2) + good[8:],
    }


def state_seeds():
    extremes = edited(lambda i, p: [-1.0, 1e30, 0.0, 1.0, 2.0, 1e-40][(i + p) % 6])
    for selector, target in ((0, 'component'), (1, 'controller')):
        good = vst3_state()
        write('vst3_state', target + '_init', bytes([selector | 6]) + good)
        write('vst3_state', target + '_dattorro_bypassed_slow_stream',
              bytes([selector]) + vst3_state(flags=1, current=1))
        write('vst3_state', target + '_values_out_of_range', bytes([selector | 4]) + vst3_state(values=extremes))
        for name, data in damaged(good).items():
            write('vst3_state', target + '_' + name, bytes([selector | 2]) + data)
        write('vst3_state', target + '_unknown_flag', bytes([selector | 6]) + vst3_state(flags=2))
        nan_value = bytearray(good)
        nan_value[12 + 12 + 24 + 4 * 7:12 + 12 + 24 + 4 * 8] = struct.pack('<f', float('nan'))
        write('vst3_state', target + '_nan_value', bytes([selector | 6]) + bytes(nan_value))
        write('vst3_state', target + '_program_2', bytes([selector | 6]) + vst3_state(current=2))
        unterminated = vst3_state(names=(b'N' * 24, b'Dattorro'))
        write('vst3_state', target + '_unterminated_name', bytes([selector | 6]) + unterminated)

    good = plugin_state()
    write('clap_state', 'init', bytes([3]) + good)
    write('clap_state', 'dattorro_byte_by_byte', bytes([0]) + plugin_state(current=1))
    write('clap_state', 'values_out_of_range', bytes([2]) + plugin_state(values=extremes))
    write('clap_state', 'stream_error_at_end', bytes([3 | 4]) + good)
    for name, data in damaged(good).items():
        write('clap_state', name, bytes([1]) + data)
    write('clap_state', 'vst3_state_given_to_clap', bytes([3]) + vst3_state())
    write('clap_state', 'program_2', bytes([3]) + plugin_state(current=2))


def vst3_block(frames, seed, queues):
    data = struct.pack('<H', frames) + bytes([seed, len(queues)])
    for id_selector, points in queues:
        data += id_selector + bytes([len(points)])
        for offset, value in points:
            data += offset + value
    return data


def event_seeds():
    param = lambda i: bytes([i])
    bypass, program = bytes([0x80]), bytes([0xA0])
    write('vst3_events', 'ramps_in_order', vst3_block(256, 1, [
        (param(27), [(within(0), any_double(nominal(0))), (within(100), any_double(nominal(63)))]),
        (param(1), [(within(10), any_double(nominal(60)))])]) * 4)
    write('vst3_events', 'offsets_out_of_order_and_past_the_block', vst3_block(128, 2, [
        (param(17), [(within(100), any_double(nominal(5))), (within(3), any_double(nominal(60))),
                     (bytes([O_PAST]), any_double(nominal(30))), (bytes([O_NEGATIVE]), any_double(nominal(1)))]),
        (param(17), [(bytes([O_AT_END]), any_double(nominal(63)))])]) * 3)
    write('vst3_events', 'bypass_and_program_mid_block', vst3_block(512, 3, [
        (bypass, [(within(50), any_double(nominal(63))), (within(400), any_double(nominal(0)))]),
        (program, [(within(200), any_double(nominal(63)))])]) * 2)
    write('vst3_events', 'awkward_values_and_ids', vst3_block(64, 4, [
        (param(53), [(within(1), any_double(bytes([F_NAN]))), (within(2), raw_double(float('inf')))]),
        (param(30), [(within(5), raw_double(-1e300)), (within(6), any_double(bytes([F_DENORM])))]),
        (bytes([0xC0]) + struct.pack('<I', 0xFFFFFFFF), [(within(0), any_double(nominal(10)))]),
        (param(57), [(within(0), any_double(nominal(63)))])]) + vst3_block(0, 5, [
        (param(0), [(within(0), any_double(nominal(0)))])]) + vst3_block(512, 6, []))

    def event(kind, offset, size_choice=0, space=0, fields=b''):
        return bytes([kind]) + offset + bytes([size_choice, space]) + fields

    def clap_block(frames, seed, flags, events):
        return struct.pack('<H', frames) + bytes([seed, flags, len(events)]) + b''.join(events)

    VALUE, MOD, BEGIN, END, NOTE, TRANSPORT, UNKNOWN = range(7)
    write('clap_events', 'values_in_order', clap_block(256, 1, 0, [
        event(VALUE, within(0), fields=param(27) + any_double(nominal(0))),
        event(VALUE, within(100), fields=param(27) + any_double(nominal(63))),
        event(VALUE, within(101), fields=param(1) + any_double(nominal(50)))]) * 4)
    write('clap_events', 'times_out_of_order_and_past_the_block', clap_block(128, 2, 0, [
        event(VALUE, within(100), fields=param(17) + any_double(nominal(5))),
        event(VALUE, within(3), fields=param(17) + any_double(nominal(60))),
        event(VALUE, bytes([O_PAST]), fields=param(18) + any_double(nominal(30))),
        event(VALUE, bytes([0xE0]) + struct.pack('<I', 0xFFFFFFF0), fields=param(19) + any_double(nominal(1)))]) * 3)
    write('clap_events', 'gestures_bypass_and_flush', clap_block(512, 3, 0, [
        event(BEGIN, within(0), fields=param(3)),
        event(VALUE, within(10), fields=bytes([0x80]) + any_double(nominal(63))),
        event(END, within(20), fields=param(3))]) + clap_block(256, 4, 2, [
        event(VALUE, within(0), fields=bytes([0x80]) + any_double(nominal(0)))]) + clap_block(256, 4, 1, []))
    write('clap_events', 'foreign_kinds_sizes_and_spaces', clap_block(64, 5, 1, [
        event(MOD, within(1), fields=param(2) + any_double(nominal(20))),
        event(NOTE, within(2), fields=struct.pack('<H', 60) + any_double(nominal(63))),
        event(TRANSPORT, within(3), fields=struct.pack('<I', 1) + raw_double(120.0)),
        event(UNKNOWN, within(4), fields=struct.pack('<H', 0xFFFF)),
        event(VALUE, within(5), size_choice=1, fields=param(4) + any_double(nominal(9))),
        event(VALUE, within(6), size_choice=2, fields=param(5) + any_double(nominal(9))),
        event(VALUE, within(7), space=1, fields=param(6) + any_double(nominal(9))),
        event(VALUE, within(8), fields=param(53) + any_double(bytes([F_NAN]))),
        event(VALUE, within(9), fields=param(30) + raw_double(-1e300))]) + clap_block(0, 6, 0, []))


def lv2_block(frames, seed, changes):
    return struct.pack('<H', frames) + bytes([seed, len(changes)]) + b''.join(
        bytes([port]) + value for port, value in changes)


def lv2_seeds():
    first_control, enabled = 4, 4 + 57
    write('lv2_run', 'default_ports_44k', bytes([0]) + lv2_block(1024, 1, []) * 3)
    write('lv2_run', 'every_rate_short_blocks', b''.join(
        bytes([rate]) + lv2_block(64, rate, [(first_control + 27, nominal(rate * 8))]) for rate in range(8)))
    write('lv2_run', 'ports_out_of_range', bytes([1]) + lv2_block(300, 2, [
        (first_control + 1, bytes([F_ABOVE_ONE])), (first_control + 17, bytes([F_E10])),
        (first_control + 30, raw_float(-5.0)), (first_control + 53, bytes([F_NAN])),
        (first_control + 54, raw_float(0.25)), (first_control + 0, bytes([F_INF]))]) + lv2_block(1, 3, []) +
        lv2_block(0, 4, []) + lv2_block(777, 5, []))
    write('lv2_run', 'bypass_and_disconnected_audio', bytes([3]) + lv2_block(500, 6, [
        (enabled, bytes([F_ZERO]))]) + lv2_block(500, 7, [(enabled, bytes([F_ONE])), (0, bytes([F_NAN]))]) +
        lv2_block(200, 8, [(0, bytes([F_ZERO])), (3, bytes([F_NAN])), (enabled + 1, bytes([F_ONE]))]))
    write('lv2_run', 'odd_rates', bytes([0xF0, F_ZERO]) + lv2_block(64, 9, []))
    write('lv2_run', 'odd_rate_low', bytes([0xF0]) + raw_float(1000.0) + lv2_block(64, 9, []))


if __name__ == '__main__':
    state_seeds()
    event_seeds()
    lv2_seeds()
