// APPLY: what it writes, what is held off while it runs, and the boxes
// that end it.
#include <QCloseEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <chrono>

#include "pages/CartPageFields.h"
#include "res/resource.h"
#include "tests/support/PagesLoad.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;

namespace {

QLineEdit* Edit(const UiFixture& ui, int page, int id) { return qobject_cast<QLineEdit*>(ui.Item(page, id)); }

// What the core's saver makes of the file with these changes on the pages.
ByteVector ExpectedAfterSave(const ByteVector& before, const std::filesystem::path& copy,
                             void (*edit)(OwnedPageRecords&)) {
    fixture::WriteFile(copy, before);
    OwnedPageRecords records;
    records.info.m_strPath = copy.string();
    wave::WaveDocument document;
    fixture::OpenIntoPages(document, records.refs());
    edit(records);
    document.SaveCart(SaveWritesFrom(records.cart, records.cart2));
    return fixture::ReadFile(copy);
}
}  // namespace

class ApplyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void applyWritesWhatTheCoreWritesAndNothingElse() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QLineEdit* title = Edit(ui, kCartInfoPage, IDC_TITLE);
        title->selectAll();
        QTest::keyClicks(title, "Evening News");
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Edit(ui, kCartInfoPage2, IDC_START_MONTH)->setText("12");
        QVERIFY(ui.ApplyEnabled());
        ui.ApplyAndWait();

        const ByteVector expected = ExpectedAfterSave(before, ui.dir.file("copy.wav"), [](OwnedPageRecords& r) {
            r.cart.m_strTitle = "Evening News";
            r.cart2.m_nStartMonth = 12;
        });
        QVERIFY(fixture::ReadFile(path) == expected);
        QVERIFY(expected != before);
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("ChartChunk Infomation has been saved."));
        QCOMPARE(ui.Boxes()[0].caption, QString("Finish Saving"));
        QCOMPARE(int(ui.Boxes()[0].icon), int(framework::MessageIcon::Information));
        QVERIFY(!ui.ApplyEnabled());
        QVERIFY(!ui.dialog->m_progress->isVisible());
        QVERIFY(ui.dialog->m_btnExit->isEnabled());

        // A typed change enables APPLY again.
        QTest::keyClicks(Edit(ui, kCartInfoPage2, IDC_START_YEAR), "7");
        QVERIFY(ui.ApplyEnabled());
    }

    void aDialogDestroyedDuringASaveKeepsTheWriteAndEndsItsWorker() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QTest::keyClicks(Edit(ui, kCartInfoPage, IDC_TITLE), "!");
        QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
        QVERIFY(ui.dialog->Saving());
        // No event is processed from here on: a worker that waited for this
        // thread would hang the destruction.
        ui.dialog.reset();
        OwnedPageRecords records;
        records.info.m_strPath = path.string();
        wave::WaveDocument reread;
        QCOMPARE(int(fixture::OpenIntoPages(reread, records.refs())), int(wave::LoadFailure::None));
        QCOMPARE(QString::fromStdString(records.cart.m_strTitle), QString("Morning Jingle!"));
    }

    void everyRouteOutIsHeldOffWhileSaving() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(ui.ApplyEnabled());
        QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
        QVERIFY(ui.dialog->Saving());
        QVERIFY(ui.dialog->m_progress->isVisible());
        QVERIFY(!ui.dialog->m_btnExit->isEnabled());

        QCloseEvent close;
        QCoreApplication::sendEvent(ui.dialog.get(), &close);
        QVERIFY(!close.isAccepted());
        QTest::keyClick(ui.dialog.get(), Qt::Key_Escape);
        QVERIFY(ui.dialog->isVisible());
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(ui.Sheet().TabBar()->currentIndex(), int(kCartInfoPage));
        QVERIFY(!ui.Item(kStartPage, IDC_OPEN)->isEnabled());
        // A change during the save does not bring APPLY back before it ends.
        QTest::keyClicks(Edit(ui, kCartInfoPage, IDC_TITLE), "!");
        QVERIFY(!ui.ApplyEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(!ui.dialog->Saving(), 5000);
        QVERIFY(ui.ShowPage(kStartPage));
        QVERIFY(ui.Item(kStartPage, IDC_OPEN)->isEnabled());
        QCloseEvent later;
        QCoreApplication::sendEvent(ui.dialog.get(), &later);
        QVERIFY(later.isAccepted());
    }

    void anInvalidActivePageStartsNoSave() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("1800");
        QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
        QVERIFY(!ui.dialog->Saving());
        QCOMPARE(ui.Boxes().back().text, QString("Please enter an integer between 1900 and 9999."));
        QVERIFY(ui.dialog->m_btnExit->isEnabled());
        QVERIFY(fixture::ReadFile(path) == before);
    }

    void aFailedSaveSaysSoAndWritesNothing() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        // Another program rewrites the file with a different layout.
        const ByteVector changed = fixture::TypicalWave(fixture::TypicalCart(2100));
        fixture::WriteFile(path, changed);
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("The cart chunk was NOT saved.\n\n"
                                             "The file was changed by another program since it was loaded."));
        QCOMPARE(ui.Boxes()[0].caption, QString("Saving Failed"));
        QCOMPARE(int(ui.Boxes()[0].icon), int(framework::MessageIcon::Error));
        QVERIFY(fixture::ReadFile(path) == changed);
    }

    void editsTypedDuringASaveOrBeforeAFailedOneStayToBeSaved() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
        QTest::keyClicks(Edit(ui, kCartInfoPage, IDC_TITLE), "!");
        QTRY_VERIFY_WITH_TIMEOUT(!ui.dialog->Saving(), 5000);
        QVERIFY(ui.ApplyEnabled());
        ui.ApplyAndWait();
        QVERIFY(!ui.ApplyEnabled());

        const auto path = ui.dir.file("a.wav");
        fixture::WriteFile(path, fixture::TypicalWave(fixture::TypicalCart(2100)));
        QTest::keyClicks(Edit(ui, kCartInfoPage, IDC_TITLE), "?");
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().back().caption, QString("Saving Failed"));
        QVERIFY(ui.ApplyEnabled());
        QVERIFY(Edit(ui, kCartInfoPage, IDC_TITLE)->text().endsWith("!?"));
    }

    void applyWithNothingChangedLeavesTheFileAndItsTimeAlone() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        const auto earlier = std::filesystem::last_write_time(path) - std::chrono::hours(1);
        std::filesystem::last_write_time(path, earlier);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QVERIFY(ui.ApplyEnabled());  // the first showing filled the edits
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().back().text, QString("ChartChunk Infomation has been saved."));
        QVERIFY(std::filesystem::last_write_time(path) == earlier);
        QVERIFY(fixture::ReadFile(path) == before);
    }

    void datesAndTimesNotTouchedKeepTheirStoredBytes() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave(
            fixture::TypicalCart().text(wave::cart::kStartDate, "2001-5-6").text(wave::cart::kEndTime, "1:2:3"));
        const auto path = ui.dir.write("a.wav", before);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QTest::keyClicks(Edit(ui, kCartInfoPage, IDC_TITLE), "!");
        ui.ApplyAndWait();
        const ByteVector after = fixture::ReadFile(path);
        const auto cartAt = static_cast<std::size_t>(ui.dialog->Document().loaded.cartPos);
        for (const wave::Field field : {wave::cart::kStartDate, wave::cart::kEndTime}) {
            const auto from = static_cast<long>(cartAt + field.offset);
            const auto to = from + static_cast<long>(field.width);
            QVERIFY(std::equal(after.begin() + from, after.begin() + to, before.begin() + from));
        }
        QVERIFY(after != before);
    }
};

QTEST_MAIN(ApplyTest)
#include "ApplyTest.moc"
