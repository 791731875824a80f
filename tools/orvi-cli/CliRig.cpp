#include "CliRig.h"

#include "analysis/MarkerLog.h"

#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/Generator.h"
#include "controls/Clock.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblTable.h"
#include "turntable/PortBackends.h"
#include "turntable/SimulatedController.h"
#include "turntable/TurntableController.h"

#include <cstring>

TCliRig::TCliRig(TClock &clock, const TConfig &config)
    : m_config(config)
    , m_in(std::make_unique<TAudioIn>())
    , m_out(std::make_unique<TAudioOut>())
    , m_generator(std::make_unique<TGenerator>())
{
    if (config.Grbl) {
        m_board = std::make_unique<TGrblEmulator>(clock);
        m_turntable = std::make_unique<TGrblTable>(clock);
    } else {
        auto backend = CreateSimulatedPortBackend(clock, &m_simulated);
        auto controller = std::make_unique<TTurntableController>(
            std::make_unique<TDLPrinterPortIO>(std::move(backend)), clock);
        controller->SetMarkUnsensitivityTime(config.DeadTimeMs);
        m_turntable = std::move(controller);
    }

    // As the level meter window records: two buffers, mono, 16 bits.
    m_in->SetNumBuffers(2);
    m_in->SetStereo(false);
    m_in->SetBufferSize(config.RecordBuffBytes);
    m_in->SetFrameRate(config.SampleRate);
    m_in->SetQuantization(16);
    m_in->OnBufferFilled = [this](char *buffer, int &size) {
        return Recorded(buffer, size);
    };

    // As the generator window plays: one generated sample per output sample.
    m_out->SetBufferSize(config.PlayBuffBytes);
    m_out->SetFrameRate(config.SampleRate);
    m_out->SetQuantization(16);
    m_block.assign(size_t(m_out->BufferSize() / 2), 0);
    m_generator->SetSamplingFrequency(config.SampleRate);
    m_generator->SetNumSamples(int(m_block.size()));
    m_generator->SetSignal(config.Signal);
    m_generator->SetSignalFrequency(config.FrequencyHz);
    m_generator->SetVolumeInPercents(config.AmplitudePercent);
    m_generator->SetAutoPhase(true);
    m_generator->OnGenerate = [this](int index, qint16 value) {
        if (index >= 0 && size_t(index) < m_block.size())
            m_block[size_t(index)] = value;
    };
    m_out->OnFillBuffer = [this](char *buffer, int &size) {
        return Fill(buffer, size);
    };
}

TCliRig::~TCliRig()
{
    m_in->OnBufferFilled = nullptr;
    m_out->OnFillBuffer = nullptr;
    m_in->StopAtOnce();
    m_out->StopAtOnce();
}

bool TCliRig::Open()
{
    if (auto *controller = qobject_cast<TTurntableController *>(m_turntable.get())) {
        m_openFailure = QStringLiteral("the simulated turntable did not open");
        return controller->Open(1);
    }
    auto *table = qobject_cast<TGrblTable *>(m_turntable.get());
    if (!m_board->Open(&m_openFailure))
        return false;
    if (!table->Open(m_board->SlavePath())) {
        m_openFailure = table->OpenFailureMessage();
        return false;
    }
    return true;
}

void TCliRig::OpenRecordFile()
{
    m_file.Open(m_config.RecordPath);
}

void TCliRig::StartRecorder()
{
    if (!m_in->Running() && !m_in->Start() && m_streamError.isEmpty())
        m_streamError = m_in->ErrorMessage();
}

void TCliRig::StopRecorder()
{
    if (m_in->Running())
        m_in->StopGracefully();
}

void TCliRig::CloseRecordFile()
{
    m_file.Close();
}

void TCliRig::SetWriteErrorHandler(std::function<void(const QString &)> handler)
{
    m_writeErrorHandler = std::move(handler);
}

void TCliRig::StartGenerator()
{
    if (!m_out->Start() && m_streamError.isEmpty())
        m_streamError = m_out->ErrorMessage();
}

void TCliRig::StopGenerator()
{
    m_out->StopAtOnce();
}

bool TCliRig::Recorded(char *buffer, int &size)
{
    if (m_recording && !m_file.WriteFailed() && !m_file.Append(buffer, size, 16)) {
        const QString text = m_file.WriteFailureMessage();
        // Told after the buffer handler has returned, as the level meter window does.
        QMetaObject::invokeMethod(
            &m_context,
            [this, text] {
                if (m_writeErrorHandler)
                    m_writeErrorHandler(text);
            },
            Qt::QueuedConnection);
    }
    return true;
}

bool TCliRig::Fill(char *buffer, int &size)
{
    m_generator->Generate();
    const int bytes = std::min(size, int(m_block.size() * 2));
    std::memcpy(buffer, m_block.data(), size_t(bytes));
    size = bytes;
    return true;
}

bool TCliRig::DescribeExcitation(TMarkerLog &log) const
{
    log.Signal = m_config.Signal;
    log.FrequencyHz = m_config.FrequencyHz;
    log.AmplitudePercent = m_config.AmplitudePercent;
    log.PlayBufferBytes = m_out->BufferSize();
    log.SampleRate = m_config.SampleRate;
    return true;
}
