// Ctrl+Tab, Ctrl+PgDn and their reverses step through the pages from
// anywhere in the window, asking the page to let go as a tab click does.
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

class KeyboardPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void theKeysStepBothWaysAndWrapAround() {
        UiFixture ui;
        ui.dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui.dialog.get()));
        QWidget* exit = ui.dialog->m_btnExit;
        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kEbuInfoPage);
        QTest::keyClick(exit, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kCartInfoPage);
        QTest::keyClick(exit, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kEbuInfoPage);
        QTest::keyClick(exit, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(exit, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kAboutPage);
        QTest::keyClick(exit, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kStartPage);

        // A text box that takes Tab itself still lets the keys through.
        QVERIFY(ui.ShowPage(kEbuInfoPage));
        QWidget* description = ui.Item(kEbuInfoPage, IDC_DESCRIPTION);
        description->setFocus();
        QTest::keyClick(description, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kCartInfoPage);
    }

    void aPageThatFailsItsChecksKeepsTheFocusedEdit() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        ui.dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui.dialog.get()));
        auto* month = qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage2, IDC_START_MONTH));
        month->setFocus();
        month->setText("99");
        QTest::keyClick(month, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kCartInfoPage2);
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(QApplication::focusWidget(), month);
        month->setText("12");
        QTest::keyClick(month, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(ui.Sheet().GetActiveIndex(), kPlayerPage);
    }
};

QTEST_MAIN(KeyboardPagesTest)
#include "KeyboardPagesTest.moc"
