// A broadband measurement survives its document being saved, the program closed and the
// document opened again (also after it moved with its folder): the map and the FRD export
// are back with the same numbers. Through the real windows, on the simulated rig and a
// virtual clock.

#include "analysis/BroadbandStore.h"
#include "analysis/MeasurementFolder.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/MeasurementAction.h"
#include "app/ui/RecordingAnalysisAction.h"
#include "app/ui/ToolWindows.h"
#include "audio/LoopbackBus.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"
#include "document/ui/FrmChild.h"
#include "helpers/MainFixture.h"
#include "helpers/MeasurementScript.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/FrmAnaliza.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <map>

namespace {

using TFiles = std::map<QString, QByteArray>;

TFiles FilesIn(const QString &path)
{
    TFiles files;
    const QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files[name] = file.readAll();
    }
    return files;
}

QStringList SeriesNames(TPolarGraph &graph)
{
    QStringList names;
    for (int i = 0; i <= graph.MaxSeriesNumber(); ++i)
        if (graph.HasSeries(i))
            names << graph.GetSeries(i)->Name;
    return names;
}

} // namespace

class TestMeasurementReopen : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }
    void resultsComeBackAfterReopenAndMove();
    void damagedMeasurementsStillOpen();
    void failedFolderStillSavesTheDocument();
    void analyseKeptRecordingIntoTheDocument();

private:
    // Runs a broadband measurement (MLS, 1 and 4 kHz, -90..90) into the active document.
    void Measure(TFrmMain &main)
    {
        TMeasurementAction::Exec() = TMeasurementScript { -90, 90, QStringLiteral("1000, 4000") };
        main.Actions().acDodaj->trigger();
    }
    // "Eksportuj FRD…" of the active document into a new folder; its files.
    TFiles ExportFrd(TFrmMain &main, const QString &folder)
    {
        QDir().mkpath(folder);
        TBroadbandActions::AskFolder() = [folder](QWidget *, const QString &) {
            return folder;
        };
        TBroadbandActions &actions = *TBroadbandActions::Of(main);
        const bool exported = actions.FrdAction()->isEnabled() && actions.ExportFrd();
        return exported ? FilesIn(folder) : TFiles {};
    }
    static void WaitForActions() { QCoreApplication::processEvents(); }

    TMainFixture m_fixture;
};

void TestMeasurementReopen::resultsComeBackAfterReopenAndMove()
{
    const QString a = m_fixture.Path(QStringLiteral("a"));
    QVERIFY(QDir().mkpath(a));
    const QString document = a + QStringLiteral("/b.OvK");
    TFiles before;
    QStringList seriesBefore;
    {
        auto main = m_fixture.MakeMain();
        CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
        main->Actions().acNowy->trigger();
        Measure(*main);
        WaitForActions();
        seriesBefore = SeriesNames(main->ActiveDocument()->Graph());
        QCOMPARE(seriesBefore.size(), 3);
        before = ExportFrd(*main, m_fixture.Path(QStringLiteral("frd-before")));
        QCOMPARE(before.size(), size_t(19)); // -90 .. 90 every 10°

        m_fixture.Prompts->Messages.clear();
        m_fixture.Prompts->DialogAnswers.push_back({ true, document, 0 });
        QVERIFY(main->SaveActiveAs());
        QVERIFY(m_fixture.Prompts->Messages.isEmpty()); // no warning about the measurements
        main->close();
    }
    // The recording went along with the document; its file is as the file format has it.
    const QStringList beside = QDir(a + QStringLiteral("/b.pomiary")).entryList(QDir::Files);
    QCOMPARE(beside.filter(QStringLiteral(".wav")).size(), 1);
    QVERIFY(beside.contains(QStringLiteral("pomiary.json")));
    QFile saved(document);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray header = saved.read(332);
    QCOMPARE(header.left(16), QByteArray("ORVI SYSTEM V1.0"));
    QCOMPARE(int(uchar(header.at(330))) | int(uchar(header.at(331))) << 8, 3);

    const auto reopen = [&](const QString &path, const QString &frdFolder) {
        auto main = m_fixture.MakeMain();
        main->OpenCommandLineFiles({ path });
        WaitForActions();
        TFrmChild *doc = main->ActiveDocument();
        [&] {
            QVERIFY(doc);
            QVERIFY(TBroadbandActions::Of(*main)->MapAction()->isEnabled());
            QVERIFY(!doc->Modified());
            QCOMPARE(SeriesNames(doc->Graph()), seriesBefore); // reopening adds none
            QCOMPARE(main->statusBar()->currentMessage(), QString());
        }();
        const TFiles files = ExportFrd(*main, frdFolder);
        main->close();
        return files;
    };
    const TFiles after = reopen(document, m_fixture.Path(QStringLiteral("frd-after")));
    QCOMPARE(after.size(), before.size());
    QVERIFY(after == before);

    // Sent elsewhere as two items: the document and its folder.
    const QString moved = m_fixture.Path(QStringLiteral("elsewhere"));
    QVERIFY(QDir().rename(a, moved));
    const TFiles afterMove
        = reopen(moved + QStringLiteral("/b.OvK"), m_fixture.Path(QStringLiteral("frd-moved")));
    QVERIFY(afterMove == before);
}

void TestMeasurementReopen::damagedMeasurementsStillOpen()
{
    // A document whose folder names a recording that is not there.
    const QString document = m_fixture.Path(QStringLiteral("damaged.OvK"));
    {
        TPolarGraph graph;
        graph.GetSeries(0)->Add(0, 0);
        TOvkFile file(&graph, document);
        file.Save();
    }
    const QString folder = TMeasurementFolder::FolderFor(document);
    QVERIFY(QDir().mkpath(folder));
    const QByteArray index = R"({"format": 1, "measurements": [{"name": "Pomiar 1", "plane": "hor",
             "recording": "gone.wav", "markers": "gone.markers.txt", "bands": [1000],
             "smoothing": 0, "gate-ms": 0, "series": ["Pomiar 1"]}]})";
    QFile indexFile(folder + QStringLiteral("/pomiary.json"));
    QVERIFY(indexFile.open(QIODevice::WriteOnly));
    QCOMPARE(indexFile.write(index), index.size());
    indexFile.close();

    auto main = m_fixture.MakeMain();
    QVERIFY(main->OpenDocument(document));
    WaitForActions();
    QVERIFY(main->ActiveDocument());
    QVERIFY(!TBroadbandActions::Of(*main)->MapAction()->isEnabled());
    const QString message = main->statusBar()->currentMessage();
    QVERIFY2(message.contains(QStringLiteral("gone.wav")), qPrintable(message));
    QVERIFY(m_fixture.Prompts->Messages.isEmpty());
    // Nothing was rewritten.
    QCOMPARE(FilesIn(folder).size(), size_t(1));
    QCOMPARE(FilesIn(folder).begin()->second, index);
}

void TestMeasurementReopen::failedFolderStillSavesTheDocument()
{
    auto main = m_fixture.MakeMain();
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    doc->Graph().GetSeries(0)->Add(0, 0);
    TKeptMeasurement lost;
    lost.Recording = m_fixture.Path(QStringLiteral("Pomiary/removed meanwhile.wav"));
    lost.Name = QStringLiteral("Pomiar 1");
    TBroadbandStore::Instance().AddKept(&doc->Graph(), lost);

    const QString document = m_fixture.Path(QStringLiteral("saved.OvK"));
    m_fixture.Prompts->DialogAnswers.push_back({ true, document, 0 });
    QVERIFY(main->SaveActiveAs());
    QVERIFY(QFileInfo(document).size() > 332);
    QVERIFY(!doc->Modified());
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    const TAskedMessage &box = m_fixture.Prompts->Messages.front();
    QCOMPARE(box.Icon, QMessageBox::Warning);
    QVERIFY2(box.Text.startsWith(QStringLiteral("Pomiarów nie zapisano obok dokumentu"))
                 && box.Text.contains(QStringLiteral("removed meanwhile.wav")),
             qPrintable(box.Text));
    // No index names what could not be kept.
    QVERIFY(!QFileInfo::exists(TMeasurementFolder::FolderFor(document) + "/pomiary.json"));
}

void TestMeasurementReopen::analyseKeptRecordingIntoTheDocument()
{
    QDir(m_fixture.Path(QStringLiteral("Pomiary"))).removeRecursively(); // earlier cases'
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->Actions().acNowy->trigger();
    Measure(*main);
    const QDir kept(m_fixture.Path(QStringLiteral("Pomiary")));
    const QStringList wavs = kept.entryList({ QStringLiteral("*.wav") });
    QCOMPARE(wavs.size(), 1);
    const QString recording = kept.filePath(wavs.front());

    // Another document, the same recording with other bands and smoothing.
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    TRecordingAnalysisAction &action = *TRecordingAnalysisAction::Of(*main);
    QVERIFY(action.Action()->isEnabled());
    m_fixture.Prompts->Messages.clear();
    m_fixture.Prompts->DialogAnswers.push_back({ true, recording, 0 });
    QString described;
    TRecordingAnalysisAction::Exec() = [&](QDialog &dialog) {
        auto *analiza = qobject_cast<TFrmAnaliza *>(&dialog);
        if (!analiza)
            return int(QDialog::Rejected);
        described = analiza->lblNagranie().text();
        analiza->gbSzerokopasmowa().edPasma().setText(QStringLiteral("2000"));
        QComboBox &smoothing = analiza->gbSzerokopasmowa().cbWygladzanie();
        smoothing.setCurrentIndex(smoothing.findData(6));
        analiza->btnOK().click();
        return analiza->result();
    };
    QVERIFY(action.Action()->isEnabled());
    action.Action()->trigger();
    TRecordingAnalysisAction::Exec() = [](QDialog &dialog) {
        return dialog.exec();
    };
    QCOMPARE(m_fixture.Prompts->Dialogs.back().FileName,
             QDir::toNativeSeparators(kept.path()) + QDir::separator());
    QVERIFY2(described.contains(QStringLiteral("MLS"))
                 && described.contains(QStringLiteral("-90°..90°")),
             qPrintable(described));
    QCOMPARE(SeriesNames(doc->Graph()), QStringList({ "Pomiar 1", "Pomiar 1 2000 Hz" }));
    QVERIFY(doc->Modified());
    // The simulator's room has no reflection to find: said in the status line, not a box.
    QVERIFY(m_fixture.Prompts->Messages.isEmpty());
    QVERIFY2(
        main->statusBar()->currentMessage().startsWith(QStringLiteral("Nie znaleziono odbicia")),
        qPrintable(main->statusBar()->currentMessage()));
    WaitForActions();
    QVERIFY(TBroadbandActions::Of(*main)->MapAction()->isEnabled());

    // Saved, the analysed recording goes beside the document.
    const QString saved = m_fixture.Path(QStringLiteral("analysed.OvK"));
    m_fixture.Prompts->DialogAnswers.push_back({ true, saved, 0 });
    QVERIFY(main->SaveActiveAs());
    const TMeasurementFolder::TContents beside = TMeasurementFolder::Read(saved);
    QCOMPARE(beside.Measurements.size(), size_t(1));
    QCOMPARE(beside.Measurements.front().Options.BandsHz, std::vector<double> { 2000 });
    QCOMPARE(beside.Measurements.front().Options.Smoothing, 6);
}

QTEST_MAIN(TestMeasurementReopen)
#include "tst_measurementreopen.moc"
