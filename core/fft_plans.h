// FFTW plans made and destroyed under one lock. FFTW's planner keeps global
// state and is not thread-safe (only executing a plan is), and the audition
// builds its material on helper threads while the editor transforms frames and
// imports sound: every plan of the program, double or single precision, is
// made and destroyed here.
#pragma once

#include <fftw3.h>

#include <cstdint>

// Real-to-complex (forward) and complex-to-real (backward) transforms of n
// real samples, planned with FFTW_ESTIMATE, which leaves the arrays as they are.
fftw_plan PlanForward(int32_t n, double* in, fftw_complex* out);
fftw_plan PlanBackward(int32_t n, fftw_complex* in, double* out);
fftwf_plan PlanForward(int32_t n, float* in, fftwf_complex* out);
fftwf_plan PlanBackward(int32_t n, fftwf_complex* in, float* out);

void DestroyPlan(fftw_plan plan);
void DestroyPlan(fftwf_plan plan);
