// Ending the program or opening another file with edits APPLY has not
// saved: the question first, and what each answer does. Enter on the
// buttons is here too, since it used to end the program.
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;
using framework::SaveAnswer;

namespace {

QLineEdit* Title(const UiFixture& ui) { return qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage, IDC_TITLE)); }

// A loaded file with the title typed over, not yet saved.
std::filesystem::path OpenAndEditTitle(UiFixture& ui) {
    const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
    ui.Open(path);
    ui.ShowPage(kCartInfoPage);
    Title(ui)->selectAll();
    QTest::keyClicks(Title(ui), "Edited");
    return path;
}

bool TitleSaved(const std::filesystem::path& path) {
    const ByteVector bytes = fixture::ReadFile(path);
    return std::search(bytes.begin(), bytes.end(), std::begin("Edited"), std::end("Edited") - 1) != bytes.end();
}

void PressEnterOn(QWidget* widget) {
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
}
}  // namespace

class UnsavedEditsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void enterPressesTheFocusedButtonAndExitOnlyFromElsewhere() {
        UiFixture ui;
        OpenAndEditTitle(ui);
        PressEnterOn(ui.dialog->GetDlgItem(IDC_APPLY));
        QVERIFY(ui.dialog->Saving());
        QTRY_VERIFY_WITH_TIMEOUT(!ui.dialog->Saving(), 5000);
        QVERIFY(ui.dialog->isVisible());

        QVERIFY(ui.ShowPage(kStartPage));
        const auto other = ui.dir.write("b.wav", fixture::TypicalWave());
        ui.AnswerNextOpen(other);
        PressEnterOn(ui.Item(kStartPage, IDC_OPEN));
        QVERIFY(ui.dialog->isVisible());
        QCOMPARE(ui.Sheet().m_InfoPage.m_strPath, other.string());

        // Enter in an edit is Exit's, with nothing left to save.
        PressEnterOn(ui.Item(kStartPage, IDC_PATH));
        QVERIFY(!ui.dialog->isVisible());
        QVERIFY(ui.Question().askedAbout.empty());
    }

    void lookingAtTheCartPagesLeavesNothingToAskAbout() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QVERIFY(ui.ApplyEnabled());  // the pages' refresh enables it
        QTest::mouseClick(ui.dialog->m_btnExit, Qt::LeftButton);
        QVERIFY(!ui.dialog->isVisible());
        QVERIFY(ui.Question().askedAbout.empty());
    }

    void everyRouteOutAsksAndCancelKeepsAll_data() {
        QTest::addColumn<int>("route");
        QTest::newRow("Exit") << 0;
        QTest::newRow("Enter in an edit") << 1;
        QTest::newRow("Escape") << 2;
        QTest::newRow("close box") << 3;
    }

    void everyRouteOutAsksAndCancelKeepsAll() {
        QFETCH(int, route);
        UiFixture ui;
        const auto path = OpenAndEditTitle(ui);
        const ByteVector before = fixture::ReadFile(path);
        ui.Question().answers = {SaveAnswer::Cancel};
        switch (route) {
            case 0: QTest::mouseClick(ui.dialog->m_btnExit, Qt::LeftButton); break;
            case 1: PressEnterOn(Title(ui)); break;
            case 2: QTest::keyClick(Title(ui), Qt::Key_Escape); break;
            default: {
                QCloseEvent close;
                QCoreApplication::sendEvent(ui.dialog.get(), &close);
                QVERIFY(!close.isAccepted());
            }
        }
        QCOMPARE(ui.Question().askedAbout, std::vector<QString>{"a.wav"});
        QVERIFY(ui.dialog->isVisible());
        QVERIFY(ui.ApplyEnabled());
        QCOMPARE(Title(ui)->text(), QString("Edited"));
        QVERIFY(fixture::ReadFile(path) == before);
    }

    void saveSavesThenEndsAndDiscardEndsWithoutWriting() {
        UiFixture saving;
        const auto saved = OpenAndEditTitle(saving);
        saving.Question().answers = {SaveAnswer::Save};
        QTest::mouseClick(saving.dialog->m_btnExit, Qt::LeftButton);
        QVERIFY(saving.dialog->isVisible());  // until the save is done
        QTRY_VERIFY_WITH_TIMEOUT(!saving.dialog->isVisible(), 5000);
        QVERIFY(TitleSaved(saved));
        QCOMPARE(saving.Boxes().back().caption, QString("Finish Saving"));

        UiFixture discarding;
        const auto discarded = OpenAndEditTitle(discarding);
        discarding.Question().answers = {SaveAnswer::Discard};
        QTest::keyClick(Title(discarding), Qt::Key_Escape);
        QVERIFY(!discarding.dialog->isVisible());
        QVERIFY(!TitleSaved(discarded));
    }

    void openingAnotherFileAsksFirst() {
        UiFixture ui;
        const auto first = OpenAndEditTitle(ui);
        const auto second = ui.dir.write("b.wav", fixture::TypicalWave());
        ui.Question().answers = {SaveAnswer::Cancel, SaveAnswer::Save};
        ui.Open(second);  // cancelled before the file dialog
        QCOMPARE(ui.Sheet().m_InfoPage.m_strPath, first.string());
        QCOMPARE(Title(ui)->text(), QString("Edited"));

        QTest::mouseClick(ui.Item(kStartPage, IDC_OPEN), Qt::LeftButton);  // saved, then opened
        QTRY_COMPARE_WITH_TIMEOUT(ui.Sheet().m_InfoPage.m_strPath, second.string(), 5000);
        QVERIFY(TitleSaved(first));
        QCOMPARE(ui.Question().askedAbout.size(), std::size_t{2});
    }
};

QTEST_MAIN(UnsavedEditsTest)
#include "UnsavedEditsTest.moc"
