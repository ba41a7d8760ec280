// Values the second cart page refuses because they would not read back as
// typed: a URL that reads as none, a day its month does not have.
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;
namespace cart = wave::cart;

namespace {

QLineEdit* Edit(const UiFixture& ui, int id) { return qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage2, id)); }

void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
}

// Presses APPLY, which is refused with a box: nothing starts.
QString RefusedApply(UiFixture& ui) {
    const std::size_t before = ui.Boxes().size();
    QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
    if (ui.dialog->Saving() || ui.Boxes().size() != before + 1) return "not refused";
    return ui.Boxes().back().text;
}

}  // namespace

class CartValuesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void aUrlAreaStaysEditableWhenEmptyAndTakesOnlyWhatReadsAsAUrl() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Retype(Edit(ui, IDC_URL), "");
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().back().caption, QString("Finish Saving"));
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kURL), std::string());

        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QLineEdit* url = Edit(ui, IDC_URL);
        QVERIFY(url->isEnabled());
        QCOMPARE(url->text(), QString());

        const ByteVector stored = fixture::ReadFile(path);
        for (const QString& value : {QString("/spots/1.wav"), QString::fromUtf8("été")}) {
            Retype(url, value);
            QCOMPARE(RefusedApply(ui),
                     QString("URL: a URL must start with an ASCII letter or digit; any other reads back as no URL"));
            QCOMPARE(ui.dialog->focusWidget(), url);
            QVERIFY(fixture::ReadFile(path) == stored);
        }
        Retype(url, "spots/1.wav");
        ui.ApplyAndWait();
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kURL), std::string("spots/1.wav"));
    }

    void aDayItsMonthDoesNotHaveIsRefusedNamingTheDate() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Retype(Edit(ui, IDC_END_YEAR), "2026");
        Retype(Edit(ui, IDC_END_MONTH), "2");
        Retype(Edit(ui, IDC_END_DAY), "31");
        QCOMPARE(RefusedApply(ui), QString("End Date: February 2026 has 28 days"));
        QCOMPARE(ui.dialog->focusWidget(), ui.Item(kCartInfoPage2, IDC_END_DAY));
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(ui.Boxes().back().text, QString("End Date: February 2026 has 28 days"));
        Retype(Edit(ui, IDC_END_YEAR), "2024");
        Retype(Edit(ui, IDC_END_DAY), "29");  // a leap year's

        Retype(Edit(ui, IDC_START_YEAR), "2020");
        Retype(Edit(ui, IDC_START_MONTH), "4");
        Retype(Edit(ui, IDC_START_DAY), "31");
        QCOMPARE(RefusedApply(ui), QString("Start Date: April 2020 has 30 days"));
        QVERIFY(fixture::ReadFile(path) == before);
        Retype(Edit(ui, IDC_START_DAY), "30");
        ui.ApplyAndWait();
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kStartDate), std::string("2020-04-30"));
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kEndDate), std::string("2024-02-29"));
    }

    void aStoredImpossibleDateIsShownAndKeptUntilEdited() {
        UiFixture ui;
        const auto path =
            ui.dir.write("a.wav", fixture::TypicalWave(fixture::TypicalCart().text(cart::kStartDate, "2026-02-31")));
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QCOMPARE(Edit(ui, IDC_START_DAY)->text(), QString("31"));
        QTest::keyClicks(Edit(ui, IDC_OUT_CUE), "!");
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().back().caption, QString("Finish Saving"));
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kStartDate), std::string("2026-02-31"));

        Retype(Edit(ui, IDC_START_YEAR), "2027");
        QCOMPARE(RefusedApply(ui), QString("Start Date: February 2027 has 28 days"));
    }
};

QTEST_MAIN(CartValuesTest)
#include "CartValuesTest.moc"
