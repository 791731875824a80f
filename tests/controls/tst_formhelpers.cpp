// Broadcasts reach the registered windows in order, synchronously, with their wParam, and
// skip destroyed ones; EnableGroup touches only direct children of the given group.

#include "controls/Messages.h"
#include "controls/ui/FormHelpers.h"

#include <QCheckBox>
#include <QPointer>
#include <QtTest>

namespace {

QStringList g_log;

class TForm : public QWidget
{
public:
    explicit TForm(const QString &name) { setObjectName(name); }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() >= QEvent::User) {
            g_log << QString("%1:%2:%3")
                         .arg(objectName())
                         .arg(int(event->type()) - QEvent::User)
                         .arg(static_cast<TOrviEvent *>(event)->WParam);
            return true;
        }
        return QWidget::event(event);
    }
};

} // namespace

class TstFormHelpers : public QObject
{
    Q_OBJECT

private slots:
    void broadcastInRegistrationOrder();
    void enableGroup_data();
    void enableGroup();
};

void TstFormHelpers::broadcastInRegistrationOrder()
{
    g_log.clear();
    auto *a = new TForm("a");
    TForm b("b");
    TForm c("c");
    RegisterForm(a);
    RegisterForm(&b);
    RegisterForm(&c);
    RegisterForm(a); // once only
    BroadcastToForms(OrviMessage::RangeProgress, 42);
    QCOMPARE(g_log, QStringList({ "a:106:42", "b:106:42", "c:106:42" }));
    delete a;
    g_log.clear();
    BroadcastToForms(OrviMessage::ProgramClosing);
    QCOMPARE(g_log, QStringList({ "b:107:0", "c:107:0" }));
}

void TstFormHelpers::enableGroup_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("disable");
    QTest::addColumn<QString>("enabled"); // names of the enabled controls afterwards
    QTest::newRow("disable 1") << 1 << true << "g2 none nested";
    QTest::newRow("enable 1") << 1 << false << "g1a g1b g2 none nested";
    QTest::newRow("disable 2 leaves group 1") << 2 << true << "none nested";
}

void TstFormHelpers::enableGroup()
{
    QFETCH(int, group);
    QFETCH(bool, disable);
    QFETCH(QString, enabled);
    QWidget container;
    QStringList names = { "g1a", "g1b", "g2", "none" };
    QList<QWidget *> controls;
    for (const QString &n : names) {
        auto *w = new QCheckBox(n, &container);
        w->setObjectName(n);
        controls << w;
    }
    SetGroup(controls[0], 1);
    SetGroup(controls[1], 1);
    SetGroup(controls[2], 2);
    auto *frame = new QWidget(&container);
    auto *nested = new QCheckBox("nested", frame);
    nested->setObjectName("nested");
    SetGroup(nested, group); // not a direct child: untouched
    // Start with group 1 disabled so that "enable 1" changes something.
    controls[0]->setEnabled(false);
    controls[1]->setEnabled(false);

    EnableGroup(&container, group, disable);
    QStringList on;
    for (QWidget *w : controls + QList<QWidget *> { nested })
        if (w->isEnabled())
            on << w->objectName();
    QCOMPARE(on.join(' '), enabled);
}

QTEST_MAIN(TstFormHelpers)
#include "tst_formhelpers.moc"
