#include "core/fft_plans.h"

#include <mutex>

namespace {

std::mutex PlannerLock;

} // namespace

fftw_plan PlanForward(int32_t n, double* in, fftw_complex* out) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    return fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
}

fftw_plan PlanBackward(int32_t n, fftw_complex* in, double* out) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    return fftw_plan_dft_c2r_1d(n, in, out, FFTW_ESTIMATE);
}

fftwf_plan PlanForward(int32_t n, float* in, fftwf_complex* out) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    return fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
}

fftwf_plan PlanBackward(int32_t n, fftwf_complex* in, float* out) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    return fftwf_plan_dft_c2r_1d(n, in, out, FFTW_ESTIMATE);
}

void DestroyPlan(fftw_plan plan) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    fftw_destroy_plan(plan);
}

void DestroyPlan(fftwf_plan plan) {
    std::lock_guard<std::mutex> lock(PlannerLock);
    fftwf_destroy_plan(plan);
}
