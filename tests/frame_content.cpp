#include "tests/frame_content.h"

void FillTableWithPartials() {
    const int harmonics[] = {1, 2, 3, 4, 7, 40, 300, 510, 511};
    for (int j = 0; j < FrameCount; ++j) {
        float* frame = FrameAt(j);
        for (int n = 0; n < SamplesPerFrame; ++n) {
            double sum = 0.02 * (1 + j % 3) + 0.003 * (n % 2 ? -1.0 : 1.0);
            for (int h : harmonics) {
                const double sign = (h + j) % 3 == 0 ? -1.0 : 1.0;
                const double level = sign * 0.3 / (1 + (h * 7 + j) % 5) / std::sqrt(h);
                const double phase = 2.0 * M_PI * h * n / SamplesPerFrame;
                sum += level * (j % 2 ? std::sin(phase) : std::cos(phase));
            }
            frame[n] = static_cast<float>(sum);
        }
    }
}

testing::AssertionResult FrameNear(int frame, const DoubleFrame& expected, double tolerance) {
    for (int n = 0; n < SamplesPerFrame; ++n)
        if (!(std::fabs(FrameAt(frame)[n] - expected[n]) <= tolerance))
            return testing::AssertionFailure() << "frame " << frame << " sample " << n << " is "
                                               << FrameAt(frame)[n] << ", not " << expected[n];
    return testing::AssertionSuccess();
}

DoubleFrame LinearBlend(const float* from, const float* to, double t) {
    DoubleFrame x(SamplesPerFrame);
    for (int n = 0; n < SamplesPerFrame; ++n) x[n] = from[n] + t * (to[n] - from[n]);
    return x;
}

DoubleFrame SpectralBlend(const float* from, const float* to, double t) {
    const int bins = SamplesPerFrame / 2 + 1;
    const DoubleSpectrum a = DoubleDft(ToDouble(from, SamplesPerFrame), bins);
    const DoubleSpectrum b = DoubleDft(ToDouble(to, SamplesPerFrame), bins);
    double strongestA = 0.0;
    double strongestB = 0.0;
    for (int k = 0; k < bins; ++k) {
        strongestA = std::max(strongestA, std::abs(a[k]));
        strongestB = std::max(strongestB, std::abs(b[k]));
    }
    DoubleSpectrum blend(bins);
    for (int k = 0; k < bins; ++k) {
        // A bin 100 dB below its frame's strongest takes the other frame's phase.
        const bool faintA = std::abs(a[k]) < 1e-5 * strongestA;
        const bool faintB = std::abs(b[k]) < 1e-5 * strongestB;
        const double phaseA = std::arg(faintA && !faintB ? b[k] : a[k]);
        double arc = std::arg(faintB ? a[k] : b[k]) - phaseA;
        if (arc > M_PI) arc -= 2.0 * M_PI;
        if (arc <= -M_PI) arc += 2.0 * M_PI;
        blend[k] = std::polar((1.0 - t) * std::abs(a[k]) + t * std::abs(b[k]), phaseA + t * arc);
    }
    return DoubleInverseDft(blend, SamplesPerFrame);
}
