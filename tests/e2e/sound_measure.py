"""SDL's disk driver's capture of 48000 Hz stereo floats, and the measures of a sound in it."""
import array, cmath, math, pathlib

RATE = 48000


def capture(path):
    samples = array.array("f", pathlib.Path(path).read_bytes())
    return samples[0::2], samples[1::2]


def runs(left):  # the sounding stretches as [start, end) pairs, split at over 50 ms of silence
    found = []
    for k, v in enumerate(left):
        if abs(v) > 1e-4:
            if found and k - found[-1][1] <= RATE // 20:
                found[-1][1] = k + 1
            else:
                found.append([k, k + 1])
    return found


def level(sound):
    return max(abs(v) for v in sound)


def levels(sound, window=RATE // 200):
    return [level(sound[k:k + window]) for k in range(0, len(sound) - window, window)]


def pitch(sound):  # from the first and last upward zero crossing, each placed linearly
    ups = [k + sound[k] / (sound[k] - sound[k + 1]) for k in range(len(sound) - 1)
           if sound[k] <= 0.0 < sound[k + 1]]
    return (len(ups) - 1) * RATE / (ups[-1] - ups[0])


def amplitude(sound, hz):  # of the component at hz, through a Hann window
    n = len(sound)
    return 4 * abs(sum((0.5 - 0.5 * math.cos(2 * math.pi * k / n)) * v *
                       cmath.exp(-2j * math.pi * hz * k / RATE) for k, v in enumerate(sound))) / n
