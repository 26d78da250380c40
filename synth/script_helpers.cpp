#include "synth/script_sandbox.h"

// Written for this program from what the helpers are documented to do.
const char ScriptHelpers[] = R"lua(
function math.parity(x)
    if x % 2 == 1 then return 1 end
    return 0
end

function math.sgn(x)
    if x > 0 then return 1 elseif x < 0 then return -1 end
    return 0
end

function math.sign(x)
    if x < 0 then return -1 end
    return 1
end

function math.rescale(v, in_lo, in_hi, out_lo, out_hi)
    return out_lo + (v - in_lo) * (out_hi - out_lo) / (in_hi - in_lo)
end

function math.norm(a, b) return math.sqrt(a * a + b * b) end

function math.range(a, b) return math.abs(a - b) end

local function running(t, start, step)
    local out, acc = {}, start
    for i = 1, #t do
        acc = step(acc, t[i])
        out[i] = acc
    end
    return out
end

function math.cumsum(t) return running(t, 0, function(a, b) return a + b end) end

function math.cumprod(t) return running(t, 1, function(a, b) return a * b end) end

-- n points from a to b, both ends exactly as given.
function math.linspace(a, b, n)
    local out = {}
    if n < 1 then return out end
    out[1] = a
    for i = 1, n - 2 do out[i + 1] = a + (b - a) * i / (n - 1) end
    if n > 1 then out[n] = b end
    return out
end

function math.logspace(a, b, n)
    local out = math.linspace(a, b, n)
    for i = 1, #out do out[i] = 10 ^ out[i] end
    return out
end

function math.maxAbsFromTable(t)
    local peak = 0
    for i = 1, #t do peak = math.max(peak, math.abs(t[i])) end
    return peak
end

function math.sinc(t)
    if t == 0 then return 1 end
    return math.sin(math.pi * t) / (math.pi * t)
end

function math.note_to_freq(n, ref) return (ref or 440) * 2 ^ ((n - 69) / 12) end

function math.freq_to_note(f, ref) return 69 + 12 * math.log(f / (ref or 440)) / math.log(2) end

function math.gcd(a, b)
    a, b = math.abs(a), math.abs(b)
    while b ~= 0 do a, b = b, a % b end
    return a
end

function math.lcm(a, b)
    if a == 0 or b == 0 then return 0 end
    return math.abs(a * b) / math.gcd(a, b)
end

function limit_range(x, lo, hi) return math.max(lo, math.min(hi, x)) end

surge = { mod = {} }

function surge.mod.normalize_peaks(t)
    local peak = math.maxAbsFromTable(t)
    local out = {}
    for i = 1, #t do
        if peak > 0 then out[i] = t[i] / peak else out[i] = t[i] end
    end
    return out
end
)lua";
