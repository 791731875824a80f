#include "app/ui/DocumentArea.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

class TestDocumentArea : public QObject
{
    Q_OBJECT

private slots:
    void tile_data();
    void tile();
    void windowListSkipsClosedWindows();
};

static QMdiSubWindow *AddWindow(TDocumentArea &area, const QString &title)
{
    auto *content = new QWidget;
    content->setWindowTitle(title);
    QMdiSubWindow *sub = area.addSubWindow(content);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    return sub;
}

void TestDocumentArea::tile_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("count");
    QTest::newRow("side by side, 3") << int(Qt::Horizontal) << 3;
    QTest::newRow("one above the other, 2") << int(Qt::Vertical) << 2;
    QTest::newRow("one window") << int(Qt::Horizontal) << 1;
}

void TestDocumentArea::tile()
{
    QFETCH(int, orientation);
    QFETCH(int, count);

    TDocumentArea area;
    area.resize(900, 601);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QList<QMdiSubWindow *> windows;
    for (int i = 0; i < count; ++i)
        windows << AddWindow(area, QStringLiteral("W%1").arg(i));
    windows.first()->showMaximized();
    area.Tile(Qt::Orientation(orientation));

    const QRect client = area.viewport()->rect();
    int covered = 0;
    for (int i = 0; i < count; ++i) {
        const QRect g = windows.at(i)->geometry();
        QVERIFY(!windows.at(i)->isMaximized());
        if (orientation == Qt::Horizontal) {
            QCOMPARE(g.height(), client.height());
            QVERIFY(qAbs(g.width() - client.width() / count) <= 1);
            QCOMPARE(g.left(), covered);
            covered += g.width();
        } else {
            QCOMPARE(g.width(), client.width());
            QCOMPARE(g.top(), covered);
            covered += g.height();
        }
    }
    QCOMPARE(covered, orientation == Qt::Horizontal ? client.width() : client.height());
}

void TestDocumentArea::windowListSkipsClosedWindows()
{
    TDocumentArea area;
    area.resize(600, 400);
    area.show();
    QMenu menu;
    menu.addAction(QStringLiteral("&Kaskada"));
    AddWindow(area, QStringLiteral("a"));
    QMdiSubWindow *b = AddWindow(area, QStringLiteral("b"));
    AddWindow(area, QStringLiteral("c"));
    b->close(); // deleted later; must not be listed meanwhile
    area.FillWindowList(menu);
    area.FillWindowList(menu); // refilling replaces, does not add
    QStringList texts;
    for (QAction *action : menu.actions())
        if (!action->isSeparator())
            texts << action->text();
    QCOMPARE(texts, QStringList({ "&Kaskada", "&1 a", "&2 c" }));
}

QTEST_MAIN(TestDocumentArea)
#include "tst_DocumentArea.moc"
