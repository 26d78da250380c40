#include "core/fft_plans.h"

#include <mutex>

namespace {

std::mutex PlannerLock;

// Runs a call of FFTW's planner holding the lock.
template <typename Call> auto Planning(Call call) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    return call();
}

} // namespace

fftw_plan PlanForward(int32_t n, double* in, fftw_complex* out) {
    return Planning([&] { return fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE); });
}

fftw_plan PlanBackward(int32_t n, fftw_complex* in, double* out) {
    return Planning([&] { return fftw_plan_dft_c2r_1d(n, in, out, FFTW_ESTIMATE); });
}

fftwf_plan PlanForward(int32_t n, float* in, fftwf_complex* out) {
    return Planning([&] { return fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE); });
}

fftwf_plan PlanBackward(int32_t n, fftwf_complex* in, float* out) {
    return Planning([&] { return fftwf_plan_dft_c2r_1d(n, in, out, FFTW_ESTIMATE); });
}

void DestroyPlan(fftw_plan plan) {
    Planning([&] { fftw_destroy_plan(plan); });
}

void DestroyPlan(fftwf_plan plan) {
    Planning([&] { fftwf_destroy_plan(plan); });
}
