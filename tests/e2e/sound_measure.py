"""What the end-to-end tests hear: SDL's disk driver's capture of 48000 Hz stereo floats, and the
measures of a sound in it."""
import array, math, pathlib

RATE = 48000


def capture(path):
    """The capture's left and right channels."""
    samples = array.array("f", pathlib.Path(path).read_bytes())
    return samples[0::2], samples[1::2]


def runs(left):
    """The sounding stretches as (start, end) frame pairs, split at 50 ms of silence."""
    found, start, quiet = [], None, 0
    for k, v in enumerate(left):
        if abs(v) > 1e-4:
            if start is None:
                start = k
            quiet = 0
        elif start is not None:
            quiet += 1
            if quiet > RATE // 20:
                found.append((start, k - quiet))
                start, quiet = None, 0
    if start is not None:
        found.append((start, len(left)))
    return found


def level(sound):
    return max(abs(v) for v in sound)


def pitch(sound):
    """Hz from the first and last upward zero crossing, each placed by linear interpolation."""
    ups = [k + sound[k] / (sound[k] - sound[k + 1]) for k in range(len(sound) - 1)
           if sound[k] <= 0.0 < sound[k + 1]]
    return (len(ups) - 1) * RATE / (ups[-1] - ups[0])


def cents(hz, wanted):
    return abs(1200 * math.log2(hz / wanted))


def amplitude(sound, hz):
    """The amplitude of the component at hz, through a Hann window."""
    n = len(sound)
    w = [0.5 - 0.5 * math.cos(2 * math.pi * k / n) for k in range(n)]
    turns = [2 * math.pi * hz * k / RATE for k in range(n)]
    re = sum(w[k] * v * math.cos(turns[k]) for k, v in enumerate(sound))
    im = sum(w[k] * v * math.sin(turns[k]) for k, v in enumerate(sound))
    return 2 * math.hypot(re, im) / sum(w)
