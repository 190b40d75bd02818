#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""Writes supplimentary.dat: the About box's short original tune, as a standard MIDI file.

Run from this folder: python3 make_music.py  (needs nothing beyond Python 3).
A bright 8-bar racing theme at 132 bpm, about 15 seconds: lead, bass and drums.
"""
import struct

PPQ = 96  # ticks per quarter note
TEMPO_BPM = 132


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def track(events):
    """events: (tick, bytes) pairs; returns an MTrk chunk."""
    data = b""
    now = 0
    for tick, message in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        data += vlq(tick - now) + message
        now = tick
    data += vlq(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def notes(channel, program, sequence, velocity):
    """sequence: (note or None, length in eighths); returns events with a program change."""
    events = [(0, bytes([0xC0 | channel, program]))]
    tick = 0
    eighth = PPQ // 2
    for note, length in sequence:
        if note is not None:
            events.append((tick, bytes([0x90 | channel, note, velocity])))
            events.append((tick + length * eighth - 4, bytes([0x80 | channel, note, 0])))
        tick += length * eighth
    return events


C4, D4, E4, F4, G4, A4, B4, C5, D5, E5, G5 = 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 79
lead = [
    (E4, 1), (G4, 1), (C5, 2), (B4, 1), (G4, 1), (A4, 2),
    (G4, 1), (E4, 1), (F4, 1), (G4, 1), (D4, 4),
    (E4, 1), (G4, 1), (C5, 2), (D5, 1), (E5, 1), (D5, 2),
    (C5, 1), (A4, 1), (B4, 1), (D5, 1), (C5, 4),
    (G5, 2), (E5, 1), (C5, 1), (D5, 2), (B4, 2),
    (C5, 1), (A4, 1), (G4, 1), (E4, 1), (F4, 2), (A4, 2),
    (G4, 1), (C5, 1), (E5, 1), (G5, 1), (E5, 2), (D5, 2),
    (C5, 6), (None, 2),
]
bass_roots = [36, 41, 43, 36, 36, 41, 43, 36, 40, 41, 43, 43, 36, 41, 43, 36]
bass = []
for root in bass_roots:
    bass += [(root, 1), (root + 12, 1), (root + 7, 1), (root + 12, 1)]
drum_events = []
for beat in range(32):
    tick = beat * PPQ
    drum_events.append((tick, bytes([0x99, 36 if beat % 2 == 0 else 38, 90])))
    drum_events.append((tick + 20, bytes([0x89, 36 if beat % 2 == 0 else 38, 0])))
    for half in (0, PPQ // 2):
        drum_events.append((tick + half, bytes([0x99, 42, 60])))
        drum_events.append((tick + half + 10, bytes([0x89, 42, 0])))

tempo = 60_000_000 // TEMPO_BPM
conductor = track([(0, b"\xff\x51\x03" + tempo.to_bytes(3, "big")),
                   (0, b"\xff\x58\x04\x04\x02\x18\x08")])
tracks = [conductor,
          track(notes(0, 80, lead, 100)),       # square lead
          track(notes(1, 38, bass, 90)),        # synth bass
          track(drum_events)]
header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
with open("supplimentary.dat", "wb") as out:
    out.write(header + b"".join(tracks))
