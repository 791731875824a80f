#include "analysis/Deconvolver.h"

#include <fftw3.h>

#include <algorithm>

struct TDeconvolver::TPlans
{
    double *Time = nullptr;
    fftw_complex *Spectrum = nullptr;
    fftw_plan Forward = nullptr;
    fftw_plan Backward = nullptr;

    explicit TPlans(int period)
        : Time(fftw_alloc_real(size_t(period)))
        , Spectrum(fftw_alloc_complex(size_t(period / 2 + 1)))
    {
        // Estimated, not measured: FFTW's measuring takes longer (about 0.6 s for 8192
        // points) than the whole analysis of a turn with the estimated plans.
        Forward = fftw_plan_dft_r2c_1d(period, Time, Spectrum, FFTW_ESTIMATE);
        Backward = fftw_plan_dft_c2r_1d(period, Spectrum, Time, FFTW_ESTIMATE);
    }
    ~TPlans()
    {
        if (Forward)
            fftw_destroy_plan(Forward);
        if (Backward)
            fftw_destroy_plan(Backward);
        fftw_free(Time);
        fftw_free(Spectrum);
    }
    TPlans(const TPlans &) = delete;
    TPlans &operator=(const TPlans &) = delete;
};

TDeconvolver::TDeconvolver(const std::vector<double> &excitation)
    : m_period(int(excitation.size()))
    , m_plans(std::make_unique<TPlans>(m_period))
{
    const int bins = m_period / 2 + 1;
    std::copy(excitation.begin(), excitation.end(), m_plans->Time);
    fftw_execute(m_plans->Forward);
    double mean = 0.0;
    for (int k = 0; k < bins; ++k) {
        const std::complex<double> x(m_plans->Spectrum[k][0], m_plans->Spectrum[k][1]);
        mean += std::norm(x);
    }
    mean /= bins;
    const double epsilon = Regularisation * mean;
    m_inverse.resize(size_t(bins));
    for (int k = 0; k < bins; ++k) {
        const std::complex<double> x(m_plans->Spectrum[k][0], m_plans->Spectrum[k][1]);
        m_inverse[size_t(k)] = std::conj(x) / ((std::norm(x) + epsilon) * m_period);
    }
}

TDeconvolver::~TDeconvolver() = default;

void TDeconvolver::Deconvolve(const float *recorded, double *response)
{
    std::copy(recorded, recorded + m_period, m_plans->Time);
    fftw_execute(m_plans->Forward);
    const int bins = m_period / 2 + 1;
    for (int k = 0; k < bins; ++k) {
        const std::complex<double> y(m_plans->Spectrum[k][0], m_plans->Spectrum[k][1]);
        const std::complex<double> h = y * m_inverse[size_t(k)];
        m_plans->Spectrum[k][0] = h.real();
        m_plans->Spectrum[k][1] = h.imag();
    }
    fftw_execute(m_plans->Backward);
    std::copy(m_plans->Time, m_plans->Time + m_period, response);
}
