// The program's own file dialog (TPrompts::RealFileDialog) as a user sees it: each filter's
// text once in the type list, the preselected filter shown, and the filter the user picks
// handed back by its index.
#include "chart/ChartExporter.h"
#include "document/ui/DocumentFiles.h"
#include "document/ui/Prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void filtersShownOnce_data();
    void filtersShownOnce();
};

void TestFileDialog::filtersShownOnce_data()
{
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<int>("preselected");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("picked");

    QTest::newRow("characteristic files")
        << QStringList { TDocumentFiles::OvkFilter() } << 0
        << QStringList { QStringLiteral("*.OvK (Ch-ki Kierunkowości)") } << 0;
    QTest::newRow("chart export") << TChartExporter::DialogFilters() << 2
                                  << QStringList { QStringLiteral("*.emf"), QStringLiteral("*.wmf"),
                                                   QStringLiteral("SVG"), QStringLiteral("PDF"),
                                                   QStringLiteral("PNG") }
                                  << 4;
}

void TestFileDialog::filtersShownOnce()
{
    QFETCH(QStringList, filters);
    QFETCH(int, preselected);
    QFETCH(QStringList, shown);
    QFETCH(int, picked);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = dir.filePath(QStringLiteral("wykres"));
    request.Filters = filters;
    request.FilterIndex = preselected;

    QStringList listed;
    QString current;
    int attempts = 0;
    // Answers the dialog once it is up: reads its type list, picks a filter and saves.
    std::function<void()> answer = [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++attempts < 200)
                QTimer::singleShot(10, answer);
            return;
        }
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        if (types) {
            for (int i = 0; i < types->count(); ++i)
                listed << types->itemText(i);
            current = types->currentText();
            types->setCurrentIndex(picked);
            types->activated(picked);
        }
        dialog->selectFile(dir.filePath(QStringLiteral("wykres.x")));
        QMetaObject::invokeMethod(dialog, "accept");
    };
    QTimer::singleShot(0, answer);
    const bool accepted = TPrompts::RealFileDialog(nullptr, request);

    QVERIFY(accepted);
    QCOMPARE(listed, shown);
    QCOMPARE(current, shown.at(preselected));
    QCOMPARE(request.FilterIndex, picked);
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
