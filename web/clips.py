#!/usr/bin/env python3
"""The game's clips for the page: each 16-bit PCM WAVE file of assets/wav rewritten as IMA ADPCM
(4 bits a sample, a quarter of the bytes; SDL decodes it when the game loads the clip), since
the clips' noise-like samples are most of what the page downloads and no compressor shrinks
them much. A clip that ADPCM would leave with less than MIN_SNR dB of signal to noise (sharp
attacks) is written as 8-bit mu-law instead (half the bytes, about 38 dB). The sample rate and
channels stay; a fact chunk gives the exact length.

Usage: web/clips.py IN_DIR OUT_DIR    (prints each clip's signal-to-noise ratio)
"""
import math
import struct
import sys
from pathlib import Path

STEPS = [7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45, 50, 55, 60,
         66, 73, 80, 88, 97, 107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307, 337, 371,
         408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552, 1707,
         1878, 2066, 2272, 2499, 2749, 3024, 3327, 3660, 4026, 4428, 4871, 5358, 5894, 6484, 7132,
         7845, 8630, 9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623,
         27086, 29794, 32767]
INDEX = [-1, -1, -1, -1, 2, 4, 6, 8] * 2
MIN_SNR = 25
BLOCK = 512                      # bytes a block, mono: a 4-byte header and 1016 nibbles
PER_BLOCK = (BLOCK - 4) * 2 + 1  # samples a block: the header's and the nibbles'


def step(code, predictor, index):
    """The IMA decoder's step: the next predictor and index after a 4-bit code."""
    s = STEPS[index]
    diff = s >> 3
    if code & 4:
        diff += s
    if code & 2:
        diff += s >> 1
    if code & 1:
        diff += s >> 2
    predictor = max(-32768, min(32767, predictor - diff if code & 8 else predictor + diff))
    return predictor, max(0, min(88, index + INDEX[code]))


def encode(samples):
    """Mono 16-bit samples as IMA ADPCM blocks (the last one padded with its last sample)."""
    out, index = bytearray(), 0
    for start in range(0, len(samples), PER_BLOCK):
        block = samples[start:start + PER_BLOCK]
        block += [block[-1]] * (PER_BLOCK - len(block))
        predictor = block[0]
        out += struct.pack('<hBB', predictor, index, 0)
        codes = []
        for sample in block[1:]:
            # The code whose decoded sample lands nearest (the classic encoder's code is one of
            # the 16, not always the nearest).
            code = min(range(16), key=lambda c: abs(sample - step(c, predictor, index)[0]))
            codes.append(code)
            predictor, index = step(code, predictor, index)
        out += bytes(codes[i] | (codes[i + 1] << 4) for i in range(0, len(codes), 2))
    return bytes(out)


def decode(data, count):
    samples = []
    for at in range(0, len(data), BLOCK):
        predictor, index, _ = struct.unpack_from('<hBB', data, at)
        samples.append(predictor)
        for byte in data[at + 4:at + BLOCK]:
            for code in (byte & 15, byte >> 4):
                predictor, index = step(code, predictor, index)
                samples.append(predictor)
    return samples[:count]


def mulaw(samples):
    """G.711 mu-law bytes of 16-bit samples, and the samples they decode to."""
    out, back = bytearray(), []
    for v in samples:
        sign = 0x80 if v < 0 else 0
        m = min(-v if sign else v, 32635) + 0x84
        exponent = min(7, max(0, (m >> 7).bit_length() - 1))
        u = ~(sign | (exponent << 4) | ((m >> (exponent + 3)) & 15)) & 0xFF
        out.append(u)
        d = ~u & 0xFF
        x = ((((d & 15) << 3) + 0x84) << ((d >> 4) & 7)) - 0x84
        back.append(-x if d & 0x80 else x)
    return bytes(out), back


def snr(samples, back):
    signal = sum(s * s for s in samples) or 1
    noise = sum((a - b) ** 2 for a, b in zip(samples, back)) or 1
    return 10 * math.log10(signal / noise)


def chunks(data):
    at = 12
    while at + 8 <= len(data):
        kind, size = struct.unpack_from('<4sI', data, at)
        yield kind, data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)


def convert(src, dst):
    data = Path(src).read_bytes()
    parts = dict(chunks(data))
    tag, channels, rate, _, _, bits = struct.unpack_from('<HHIIHH', parts[b'fmt '])
    if (tag, channels, bits) != (1, 1, 16):
        raise SystemExit(f'{src}: not 16-bit mono PCM')
    samples = list(struct.unpack(f'<{len(parts[b"data"]) // 2}h', parts[b'data'][:len(parts[b'data']) // 2 * 2]))
    coded = encode(samples)
    quality = snr(samples, decode(coded, len(samples)))
    if quality >= MIN_SNR:
        fmt = struct.pack('<HHIIHHHH', 0x11, 1, rate, rate * BLOCK // PER_BLOCK, BLOCK, 4, 2, PER_BLOCK)
    else:
        coded, back = mulaw(samples)
        quality = snr(samples, back)
        fmt = struct.pack('<HHIIHHH', 7, 1, rate, rate, 1, 8, 0)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt
    body += b'fact' + struct.pack('<II', 4, len(samples))
    body += b'data' + struct.pack('<I', len(coded)) + coded + b'\0' * (len(coded) & 1)
    Path(dst).write_bytes(b'RIFF' + struct.pack('<I', len(body)) + body)
    return quality


def main():
    src, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for wav in sorted(src.glob('*.wav')):
        snr = convert(wav, out / wav.name)
        print(f'{wav.name}: {wav.stat().st_size} -> {(out / wav.name).stat().st_size} bytes, {snr:.1f} dB')


if __name__ == '__main__':
    main()
