// Where the keyboard focus goes when the page changes, and that every
// control a keyboard user needs can be reached with Tab.
#include <QTabBar>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

namespace {

QWidget* Focused() { return QApplication::focusWidget(); }

}  // namespace

class KeyboardFocusTest : public QObject {
    Q_OBJECT

    std::unique_ptr<UiFixture> ui;

    void ShowActive() {
        ui->dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui->dialog.get()));
    }

    QWidget* TabBar() const { return ui->Sheet().TabBar(); }

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }
    void init() { ui = std::make_unique<UiFixture>(); }
    void cleanup() { ui.reset(); }

    void aPageChangedByKeyGetsTheFocusOnItsFirstControl() {
        ui->Open(ui->dir.write("a.wav", fixture::TypicalWave()));
        ShowActive();
        ui->dialog->m_btnExit->setFocus();
        const auto step = [](Qt::Key key) { QTest::keyClick(Focused(), key, Qt::ControlModifier); };
        step(Qt::Key_Tab);
        QCOMPARE(ui->Sheet().GetActiveIndex(), kEbuInfoPage);
        QCOMPARE(Focused(), TabBar());  // nothing on the page takes the focus
        QTest::keyClick(Focused(), Qt::Key_Space);
        QVERIFY(ui->dialog->isVisible());
        step(Qt::Key_PageDown);
        QCOMPARE(Focused(), ui->Item(kCartInfoPage, IDC_TITLE));  // the version above it is never enabled
        step(Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kCartInfoPage2, IDC_OUT_CUE));
        step(Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kPlayerPage, IDC_PLAY));
        step(Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kAboutPage, IDC_WEBSITE));
        step(Qt::Key_PageDown);
        QCOMPARE(Focused(), ui->Item(kStartPage, IDC_OPEN));
    }

    void aTabClickedWithTheMouseTakesTheFocus() {
        ShowActive();
        ui->dialog->m_btnExit->setFocus();
        auto* tabs = ui->Sheet().TabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kAboutPage).center());
        QCOMPARE(ui->Sheet().GetActiveIndex(), kAboutPage);
        QCOMPARE(Focused(), TabBar());
        QTest::keyClick(Focused(), Qt::Key_Space);
        QVERIFY(ui->dialog->isVisible());
    }

    void tabReachesPlayStopAndTheMailLink() {
        ui->Open(ui->dir.write("a.wav", fixture::TypicalWave()));
        ShowActive();
        QVERIFY(ui->ShowPage(kPlayerPage));
        TabBar()->setFocus();
        QTest::keyClick(Focused(), Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kPlayerPage, IDC_PLAY));
        ui->Item(kPlayerPage, IDC_STOP)->setEnabled(true);  // as while playing
        QTest::keyClick(Focused(), Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kPlayerPage, IDC_STOP));

        QVERIFY(ui->ShowPage(kAboutPage));
        TabBar()->setFocus();
        QTest::keyClick(Focused(), Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kAboutPage, IDC_WEBSITE));
        QTest::keyClick(Focused(), Qt::Key_Tab);
        QCOMPARE(Focused(), ui->Item(kAboutPage, IDC_EMAIL));
    }
};

QTEST_MAIN(KeyboardFocusTest)
#include "KeyboardFocusTest.moc"
