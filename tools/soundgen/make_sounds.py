#!/usr/bin/env python3
"""Synthesises the game's music and effects into Assets/Audio.

Music: seamless loops of 20 to 60 s in a few moods (calm and sad for the menus, driving for battle,
a tuning orchestra). Effects: short clicks, sword hits, sparks, an energy ball, a death, a crack.
Everything is made from oscillators and noise here, then given room with sox, and encoded with
oggenc (Ogg Vorbis) and lame (MP3) as each file name asks. Deterministic: the same run gives the
same sounds.

Needs python3, sox, vorbis-tools and lame (scripts/deps --generators). Usage:
    tools/soundgen/make_sounds.py [--out ASSETS_AUDIO_DIR]
"""

import argparse
import array
import math
import os
import random
import shutil
import subprocess
import tempfile
import wave

RATE = 22050
TAU = 2.0 * math.pi


# ---------------------------------------------------------------- buffers and instruments

def silence(seconds):
    return array.array("d", bytes(8 * int(seconds * RATE)))


def mix_into(buf, sound, start_seconds, gain=1.0):
    """Adds sound into buf from the given time; what runs past the end wraps round (loops)."""
    start = int(start_seconds * RATE)
    n = len(buf)
    for i, v in enumerate(sound):
        buf[(start + i) % n] += v * gain


def note_freq(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


NOTE_INDEX = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}


def freq(name):
    """'A4', 'C#5', 'Bb3' -> Hz."""
    letter, rest = name[0], name[1:]
    shift = 0
    while rest and rest[0] in "#b":
        shift += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    octave = int(rest)
    return note_freq(NOTE_INDEX[letter] + shift + 12 * (octave - 4))


def envelope(n, attack, release):
    a = max(1, int(attack * RATE))
    r = max(1, int(release * RATE))
    env = [1.0] * n
    for i in range(min(a, n)):
        env[i] = i / a
    for i in range(min(r, n)):
        env[n - 1 - i] = min(env[n - 1 - i], i / r)
    return env


def pluck(f, seconds, brightness=0.5, rng=None):
    """Karplus-Strong string."""
    rng = rng or random.Random(int(f * 1000))
    n = int(seconds * RATE)
    period = max(2, int(RATE / f))
    ring = [rng.uniform(-1.0, 1.0) for _ in range(period)]
    out = array.array("d", bytes(8 * n))
    damp = 0.5 * (0.992 + 0.007 * brightness)
    idx = 0
    for i in range(n):
        cur = ring[idx]
        nxt = ring[(idx + 1) % period]
        ring[idx] = damp * (cur + nxt)
        out[i] = cur
        idx = (idx + 1) % period
    env = envelope(n, 0.002, 0.05)
    for i in range(n):
        out[i] *= env[i]
    return out


def pad(freqs, seconds, attack=0.8, release=0.8, partials=(1.0, 0.35, 0.15)):
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    env = envelope(n, attack, release)
    for f in freqs:
        for detune in (-0.12, 0.12):
            ff = f * 2.0 ** (detune / 12.0)
            for k, amp in enumerate(partials, start=1):
                step = TAU * ff * k / RATE
                ph = (hash((f, k, detune)) % 1000) / 1000.0 * TAU
                for i in range(n):
                    out[i] += amp * math.sin(ph + step * i)
    scale = 1.0 / (2 * len(freqs) * sum(partials))
    for i in range(n):
        out[i] *= env[i] * scale
    return out


def bell(f, seconds, index=2.5, ratio=3.5, decay=2.5):
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    for i in range(n):
        t = i / RATE
        e = math.exp(-decay * t)
        out[i] = e * math.sin(TAU * f * t + index * e * math.sin(TAU * f * ratio * t))
    env = envelope(n, 0.003, 0.05)
    for i in range(n):
        out[i] *= env[i]
    return out


def bass(f, seconds, decay=2.0):
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    for i in range(n):
        t = i / RATE
        out[i] = math.exp(-decay * t) * (math.sin(TAU * f * t) + 0.3 * math.sin(TAU * 2 * f * t))
    env = envelope(n, 0.01, 0.05)
    for i in range(n):
        out[i] *= env[i]
    return out


def bowed(f, seconds, vibrato=5.5, depth=0.004, attack=0.05, partials=6):
    """A bright bowed tone: a few harmonics with vibrato."""
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    ph = 0.0
    for i in range(n):
        t = i / RATE
        ff = f * (1.0 + depth * math.sin(TAU * vibrato * t))
        ph += TAU * ff / RATE
        v = 0.0
        for k in range(1, partials + 1):
            v += math.sin(k * ph) / k
        out[i] = v * 0.6
    env = envelope(n, attack, 0.04)
    for i in range(n):
        out[i] *= env[i]
    return out


def kick(seconds=0.3):
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    ph = 0.0
    for i in range(n):
        t = i / RATE
        ph += TAU * (45.0 + 110.0 * math.exp(-30.0 * t)) / RATE
        out[i] = math.exp(-9.0 * t) * math.sin(ph)
    return out


def noise_hit(seconds, decay, rng, tone=0.0, tone_freq=200.0, highpass=0.0):
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    prev = 0.0
    for i in range(n):
        t = i / RATE
        x = rng.uniform(-1.0, 1.0)
        hp = x - highpass * prev
        prev = x
        out[i] = math.exp(-decay * t) * (hp + tone * math.sin(TAU * tone_freq * t))
    return out


# ---------------------------------------------------------------- music

def chord_tones(root, kind):
    intervals = {"m": (0, 3, 7), "M": (0, 4, 7), "m7": (0, 3, 7, 10), "M7": (0, 4, 7, 11),
                 "7": (0, 4, 7, 10), "dim": (0, 3, 6), "sus": (0, 5, 7)}[kind]
    base = freq(root)
    return [base * 2.0 ** (i / 12.0) for i in intervals]


def scale_freqs(tonic, steps, octaves=2):
    base = freq(tonic)
    out = []
    for o in range(octaves):
        for s in steps:
            out.append(base * 2.0 ** ((s + 12 * o) / 12.0))
    return out


def nearest_index(values, target):
    return min(range(len(values)), key=lambda i: abs(values[i] - target))


def melody_line(rng, scale, chords, beats_per_bar, bars, rhythm, start_index):
    """A random walk over the scale that lands on a chord tone at each bar's first beat."""
    notes = []
    idx = start_index
    for bar in range(bars):
        tones = chords[bar % len(chords)]
        t = 0.0
        pattern = rhythm[rng.randrange(len(rhythm))]
        for length in pattern:
            if t == 0.0:
                target = rng.choice(tones) * 2.0
                while target < scale[0]:
                    target *= 2.0
                while target > scale[-1]:
                    target /= 2.0
                idx = nearest_index(scale, target)
            else:
                idx = max(0, min(len(scale) - 1, idx + rng.choice((-2, -1, -1, 1, 1, 2, 0))))
            if rng.random() > 0.12 or t == 0.0:
                notes.append((bar * beats_per_bar + t, length, scale[idx]))
            t += length
    return notes


def render_track(spec):
    rng = random.Random(spec["seed"])
    bpm = spec["bpm"]
    beat = 60.0 / bpm
    bpb = spec["beats_per_bar"]
    chords = [chord_tones(r, k) for r, k in spec["chords"]]
    bars = spec["bars"]
    length = bars * bpb * beat
    buf = silence(length)
    # Harmony.
    for bar in range(bars):
        tones = chords[bar % len(chords)]
        at = bar * bpb * beat
        style = spec["harmony"]
        if style == "pad":
            mix_into(buf, pad([f / 2 for f in tones], bpb * beat + 0.6), at, 0.55)
        elif style == "arp":
            seq = tones + [tones[1] * 2, tones[0] * 2, tones[2]]
            steps = bpb * 2
            for s in range(steps):
                f = seq[s % len(seq)]
                mix_into(buf, pluck(f, beat * 1.5, 0.6, rng), at + s * beat / 2, 0.35)
            mix_into(buf, pad([f / 2 for f in tones[:3]], bpb * beat + 0.4, 0.3, 0.4), at, 0.25)
        elif style == "alberti":
            low, mid, high = tones[0] / 2, tones[1] / 2, tones[2] / 2
            for s in range(bpb * 2):
                f = (low, high, mid, high)[s % 4]
                mix_into(buf, pluck(f, beat, 0.4, rng), at + s * beat / 2, 0.3)
        elif style == "waltz":
            mix_into(buf, bass(tones[0] / 2, beat * 0.9), at, 0.5)
            for b in range(1, bpb):
                for f in tones:
                    mix_into(buf, pluck(f, beat * 0.6, 0.7, rng), at + b * beat, 0.16)
        elif style == "tremolo":
            for s in range(bpb * 4):
                for f in tones[:3]:
                    mix_into(buf, bowed(f, beat / 4 * 0.9, attack=0.01, partials=5), at + s * beat / 4, 0.08)
        elif style == "bells":
            mix_into(buf, pad([f / 2 for f in tones], bpb * beat + 0.6, 1.2, 1.0), at, 0.4)
            for s in range(bpb):
                if rng.random() < 0.7:
                    mix_into(buf, bell(rng.choice(tones) * 2, 2.0, 1.5, 3.5, 1.8), at + s * beat, 0.18)
        if spec.get("bass"):
            for b in range(0, bpb, spec.get("bass_every", bpb)):
                mix_into(buf, bass(tones[0] / 4, beat * spec.get("bass_every", bpb) * 0.95), at + b * beat, 0.5)
    # Melody.
    scale = scale_freqs(spec["tonic"], spec["scale"], 2)
    lead = spec["lead"]
    for start, dur, f in melody_line(rng, scale, chords, bpb, bars, spec["rhythm"], len(scale) // 2):
        seconds = dur * beat
        if lead == "pluck":
            sound = pluck(f, seconds + 0.4, 0.8, rng)
        elif lead == "bowed":
            sound = bowed(f, seconds * 0.95, attack=0.08)
        elif lead == "bell":
            sound = bell(f, seconds + 1.0, 2.0, 3.5, 2.5)
        else:
            sound = bowed(f, seconds * 0.9, vibrato=6.0, depth=0.006, attack=0.02, partials=4)
        mix_into(buf, sound, start * beat, spec.get("lead_gain", 0.3))
    # Drums.
    drums = spec.get("drums")
    if drums:
        drng = random.Random(spec["seed"] + 7)
        for bar in range(bars):
            at = bar * bpb * beat
            for b in range(bpb):
                if drums == "battle":
                    if b % 2 == 0:
                        mix_into(buf, kick(), at + b * beat, 0.7)
                    else:
                        mix_into(buf, noise_hit(0.2, 18.0, drng, 0.4, 190.0), at + b * beat, 0.35)
                    mix_into(buf, noise_hit(0.05, 60.0, drng, highpass=0.95), at + (b + 0.5) * beat, 0.12)
                elif drums == "soft":
                    if b == 0:
                        mix_into(buf, kick(), at, 0.35)
                    mix_into(buf, noise_hit(0.04, 70.0, drng, highpass=0.95), at + b * beat, 0.06)
    return buf


def render_tuning(seed, seconds):
    """An orchestra tuning: the oboe's A, strings finding it, stray runs and a low drone."""
    rng = random.Random(seed)
    buf = silence(seconds)
    a4 = freq("A4")
    t = 0.0
    while t < seconds:
        mix_into(buf, bowed(a4, 3.0, vibrato=5.0, depth=0.002, attack=0.3, partials=8), t, 0.25)
        t += 3.5
    for _ in range(int(seconds * 1.2)):
        start = rng.uniform(0.0, seconds)
        target = a4 * rng.choice((0.25, 0.5, 1.0, 1.5, 2.0, 0.75))
        off = 2.0 ** (rng.uniform(-0.6, 0.6) / 12.0)
        dur = rng.uniform(0.6, 2.2)
        n = int(dur * RATE)
        tone = array.array("d", bytes(8 * n))
        ph = 0.0
        for i in range(n):
            glide = off + (1.0 - off) * min(1.0, i / (0.7 * n))
            ph += TAU * target * glide / RATE
            tone[i] = sum(math.sin(k * ph) / k for k in range(1, 5))
        env = envelope(n, 0.15, 0.3)
        for i in range(n):
            tone[i] *= env[i]
        mix_into(buf, tone, start, 0.07)
    for _ in range(int(seconds / 3)):
        start = rng.uniform(0.0, seconds)
        f = a4 * 2.0 ** (rng.randrange(-5, 12) / 12.0)
        for k in range(rng.randrange(4, 9)):
            mix_into(buf, pluck(f * 2.0 ** (k * rng.choice((1, 2)) / 12.0), 0.3, 0.7, rng), start + k * 0.09, 0.12)
    mix_into(buf, pad([freq("A1"), freq("E2")], seconds, 2.0, 2.0), 0.0, 0.35)
    return buf


MUSIC = [
    # (path, spec)
    ("Music/menu and non battle/29 - Lament.ogg",
     dict(seed=29, bpm=66, beats_per_bar=4, bars=8, tonic="D4", scale=(0, 2, 3, 5, 7, 8, 10),
          chords=[("D3", "m"), ("Bb2", "M"), ("G2", "m"), ("A2", "M")], harmony="pad", lead="bowed",
          rhythm=[(2, 1, 1), (3, 1), (1, 1, 2), (4,)], lead_gain=0.28, bass=True)),
    ("Music/menu and non battle/October.ogg",
     dict(seed=10, bpm=84, beats_per_bar=4, bars=12, tonic="A4", scale=(0, 2, 3, 5, 7, 8, 10),
          chords=[("A2", "m"), ("F2", "M"), ("C3", "M"), ("E2", "M")], harmony="arp", lead="pluck",
          rhythm=[(1, 1, 2), (2, 2), (1, 0.5, 0.5, 2)], lead_gain=0.32)),
    ("Music/menu and non battle/Classical.ogg",
     dict(seed=17, bpm=100, beats_per_bar=4, bars=14, tonic="C5", scale=(0, 2, 4, 5, 7, 9, 11),
          chords=[("C3", "M"), ("F3", "M"), ("G3", "7"), ("C3", "M"), ("A2", "m"), ("D3", "m"), ("G3", "M")],
          harmony="alberti", lead="bowed", rhythm=[(1, 1, 1, 1), (2, 1, 1), (0.5, 0.5, 1, 2)],
          lead_gain=0.3, bass=True)),
    ("Music/menu and non battle/Waterclours.ogg",
     dict(seed=5, bpm=70, beats_per_bar=4, bars=8, tonic="F4", scale=(0, 2, 4, 5, 7, 9, 11),
          chords=[("F2", "M7"), ("D3", "m7"), ("Bb2", "M7"), ("C3", "sus")], harmony="bells", lead="bell",
          rhythm=[(2, 2), (3, 1), (1, 1, 2)], lead_gain=0.22)),
    ("Music/menu and non battle/Gypsy.ogg",
     dict(seed=88, bpm=132, beats_per_bar=4, bars=16, tonic="E4", scale=(0, 1, 4, 5, 7, 8, 11),
          chords=[("E3", "M"), ("A2", "m"), ("E3", "M"), ("D3", "m"), ("E3", "M"), ("A2", "m"), ("B2", "7"),
                  ("E3", "M")],
          harmony="arp", lead="fiddle", rhythm=[(0.5, 0.5, 1, 1, 1), (1, 0.5, 0.5, 2), (0.5, 0.5, 0.5, 0.5, 2)],
          lead_gain=0.28, bass=True, bass_every=2, drums="soft")),
    ("Music/battle/the four seasons, summer.ogg",
     dict(seed=4, bpm=144, beats_per_bar=4, bars=16, tonic="G4", scale=(0, 2, 3, 5, 7, 8, 10),
          chords=[("G2", "m"), ("G2", "m"), ("Eb3", "M"), ("D3", "M"), ("C3", "m"), ("G2", "m"), ("D3", "7"),
                  ("G2", "m")],
          harmony="tremolo", lead="fiddle", rhythm=[(0.5, 0.5, 0.5, 0.5, 1, 1), (1, 1, 0.5, 0.5, 1), (2, 1, 1)],
          lead_gain=0.3, bass=True, bass_every=1, drums="battle")),
    ("Music/battle/Valse Fantasie.ogg",
     dict(seed=3, bpm=168, beats_per_bar=3, bars=24, tonic="B4", scale=(0, 2, 3, 5, 7, 8, 11),
          chords=[("B2", "m"), ("F#3", "7"), ("F#3", "7"), ("B2", "m"), ("E3", "m"), ("B2", "m"), ("F#3", "7"),
                  ("B2", "m")],
          harmony="waltz", lead="fiddle", rhythm=[(2, 1), (1, 1, 1), (3,)], lead_gain=0.3)),
]


# ---------------------------------------------------------------- effects

def effect_click():
    rng = random.Random(1)
    out = noise_hit(0.03, 250.0, rng, tone=1.5, tone_freq=2200.0, highpass=0.6)
    return out


def effect_sword(seed, base, length=0.6):
    """A metallic clang: inharmonic partials over a scrape of noise."""
    rng = random.Random(seed)
    n = int(length * RATE)
    out = array.array("d", bytes(8 * n))
    ratios = (1.0, 2.76, 5.4, 8.93, 13.34)
    phases = [rng.uniform(0, TAU) for _ in ratios]
    for i in range(n):
        t = i / RATE
        v = 0.0
        for k, r in enumerate(ratios):
            v += math.exp(-(5.0 + 3.0 * k) * t) * math.sin(phases[k] + TAU * base * r * t) / (1 + k * 0.5)
        out[i] = v * 0.5
    mix_into(out, noise_hit(0.08, 45.0, rng, highpass=0.9), 0.0, 0.6)
    return out


def effect_swordfight():
    out = silence(0.8)
    mix_into(out, effect_sword(21, 620.0, 0.35), 0.0, 0.9)
    mix_into(out, effect_sword(22, 540.0, 0.35), 0.28, 0.8)
    mix_into(out, effect_sword(23, 700.0, 0.3), 0.55, 0.7)
    return out


def effect_spark():
    rng = random.Random(33)
    out = silence(0.5)
    for _ in range(24):
        t = rng.uniform(0.0, 0.42) ** 1.5
        mix_into(out, noise_hit(0.015, 300.0, rng, highpass=0.97), t, rng.uniform(0.3, 0.9))
    mix_into(out, bell(3100.0, 0.3, 1.0, 1.41, 14.0), 0.0, 0.25)
    return out


def effect_energyball():
    n = int(0.7 * RATE)
    out = array.array("d", bytes(8 * n))
    ph = 0.0
    mod = 0.0
    for i in range(n):
        t = i / RATE
        f = 180.0 + 900.0 * (t / 0.7) ** 0.7
        ph += TAU * f / RATE
        mod += TAU * f * 1.5 / RATE
        out[i] = math.sin(ph + 2.0 * math.sin(mod)) * 0.6
    env = envelope(n, 0.06, 0.25)
    for i in range(n):
        out[i] *= env[i]
    return out


def effect_steamend():
    """A dying breath of steam: hiss that darkens and fades."""
    rng = random.Random(44)
    n = int(0.9 * RATE)
    out = array.array("d", bytes(8 * n))
    low = 0.0
    for i in range(n):
        t = i / RATE
        k = 0.9 - 0.85 * (t / 0.9)  # the filter closes as it fades
        low += k * (rng.uniform(-1.0, 1.0) - low)
        out[i] = low * math.exp(-3.0 * t)
    mix_into(out, bass(110.0, 0.6, 5.0), 0.0, 0.3)
    env = envelope(n, 0.02, 0.2)
    for i in range(n):
        out[i] *= env[i]
    return out


def effect_crack():
    rng = random.Random(55)
    out = silence(0.8)
    mix_into(out, noise_hit(0.12, 35.0, rng, highpass=0.5), 0.0, 0.9)
    mix_into(out, noise_hit(0.08, 50.0, rng, highpass=0.3), 0.09, 0.6)
    rumble = noise_hit(0.75, 5.0, rng)
    low = 0.0
    for i in range(len(rumble)):
        low += 0.03 * (rumble[i] - low)
        rumble[i] = low * 6.0
    mix_into(out, rumble, 0.0, 0.8)
    mix_into(out, kick(0.5), 0.0, 0.6)
    return out


EFFECTS = [
    ("Effects/menu/click.wav", effect_click),
    ("Effects/melee/Sword.wav", lambda: effect_sword(11, 660.0)),
    ("Effects/melee/Sword2.wav", lambda: effect_sword(12, 560.0)),
    ("Effects/melee/Sword.ogg", lambda: effect_sword(13, 740.0)),
    ("Effects/melee/spark3.ogg", effect_spark),
    ("Effects/range/energyball.wav", effect_energyball),
    ("Effects/die/steamend.wav", effect_steamend),
    ("Effects/Crack.mp3", effect_crack),
    ("Effects/swordfight.mp3", effect_swordfight),
]


# ---------------------------------------------------------------- output

def write_wav(path, buf, peak=0.89):
    top = max(1e-9, max(abs(v) for v in buf))
    scale = peak / top * 32767.0
    data = array.array("h", (int(max(-32767, min(32767, round(v * scale)))) for v in buf))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def run(*cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def encode(wav, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    if target.endswith(".wav"):
        shutil.copyfile(wav, target)
    elif target.endswith(".ogg"):
        run("oggenc", "-Q", "-q", "1", "-o", target, wav)
    elif target.endswith(".mp3"):
        run("lame", "--silent", "-V", "7", wav, target)
    else:
        raise ValueError(target)


def make_loop(buf, tmp, name):
    """Gives the loop room (reverb) without a seam: two passes through the reverb, keep the second."""
    n = len(buf)
    doubled = array.array("d", buf)
    doubled.extend(buf)
    raw = os.path.join(tmp, name + "-raw.wav")
    wet = os.path.join(tmp, name + "-wet.wav")
    write_wav(raw, doubled, 0.5)
    run("sox", raw, wet, "reverb", "45", "50", "80", "trim", "%ds" % n, "%ds" % n, "norm", "-1")
    return wet


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default=os.path.join(root, "Assets", "Audio"))
    args = parser.parse_args()
    for tool in ("sox", "oggenc", "lame"):
        if shutil.which(tool) is None:
            raise SystemExit("%s is missing: run scripts/deps --generators" % tool)
    with tempfile.TemporaryDirectory() as tmp:
        for i, (path, spec) in enumerate(MUSIC):
            buf = render_track(spec)
            encode(make_loop(buf, tmp, "m%d" % i), os.path.join(args.out, path))
            print("%-55s %5.1f s" % (path, len(buf) / RATE), flush=True)
        tuning = render_tuning(440, 28.0)
        encode(make_loop(tuning, tmp, "tuning"), os.path.join(args.out, "Music/orchestra warm up tuning.mp3"))
        print("%-55s %5.1f s" % ("Music/orchestra warm up tuning.mp3", 28.0), flush=True)
        for i, (path, make) in enumerate(EFFECTS):
            buf = make()
            raw = os.path.join(tmp, "e%d.wav" % i)
            write_wav(raw, buf)
            encode(raw, os.path.join(args.out, path))
            print("%-55s %5.2f s" % (path, len(buf) / RATE), flush=True)


if __name__ == "__main__":
    main()
