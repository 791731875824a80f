#pragma once

#include <complex>
#include <memory>
#include <vector>

// Circular deconvolution by one known excitation period: a recorded stretch of one period
// is transformed, divided by the excitation's spectrum and transformed back, giving the
// system's impulse response circularly shifted by where the stretch began. The division is
// regularised (Tikhonov) where the excitation is weak, so bins without energy give no
// response instead of noise.
//
// The FFTW plans and buffers are made once, in the constructor; one thread (FFTW's planner is
// not thread-safe).
class TDeconvolver
{
public:
    // The regularisation, relative to the excitation's mean power per bin.
    static constexpr double Regularisation = 1e-5;

    explicit TDeconvolver(const std::vector<double> &excitation);
    ~TDeconvolver();

    TDeconvolver(const TDeconvolver &) = delete;
    TDeconvolver &operator=(const TDeconvolver &) = delete;

    int Period() const { return m_period; }
    // period samples of the recording (full scale 1.0) into period taps of response.
    void Deconvolve(const float *recorded, double *response);

private:
    struct TPlans;

    int m_period = 0;
    std::vector<std::complex<double>> m_inverse; // conj(X) / (|X|² + ε), scaled by 1/period
    std::unique_ptr<TPlans> m_plans;
};
