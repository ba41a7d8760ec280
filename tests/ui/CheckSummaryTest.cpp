// The Start page's line of the file's check, which a screen reader reads by
// its value, the box that lists the findings, and the check of the file as
// saved.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"
#include "wave/ChunkLayout.h"

using fixture::ByteVector;

namespace {

// fmt, cart, data: no bext (one information finding), no timers, zero
// reserved bytes; the end as given.
ByteVector CartEndingIn(const char* endDate) {
    fixture::ChunkData cart =
        fixture::TypicalCart().raw(748, std::string(32, '\0')).text(wave::cart::kEndDate, endDate);
    for (std::size_t k = 0; k < wave::cart::kPostTimerCount; ++k) cart.timer(k, "", 0);
    return fixture::WaveBuilder()
        .chunk("fmt ", fixture::PcmFormat())
        .chunk("cart", cart)
        .chunk("data", ByteVector(400, 0x22))
        .bytes();
}

QLabel* Summary(const UiFixture& ui) { return qobject_cast<QLabel*>(ui.Item(kStartPage, IDC_CHECK_SUMMARY)); }

}  // namespace

class CheckSummaryTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheCountAndListsTheFindings() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", CartEndingIn("2000-01-01")));
        QCOMPARE(Summary(ui)->text(), QString("1 warning"));
        QCOMPARE(Summary(ui)->accessibleName(), QString());  // Qt reads the label's text as its name

        auto* findings = qobject_cast<QPushButton*>(ui.Item(kStartPage, IDC_FINDINGS));
        QVERIFY(findings->isEnabled());
        const std::size_t before = ui.Boxes().size();
        findings->click();
        QCOMPARE(ui.Boxes().size(), before + 1);
        QCOMPARE(ui.Boxes().back().caption, QString("Findings"));
        QVERIFY(ui.Boxes().back().text.contains("C6 warning: cart: the end (2000-01-01 23:59:59) is before the start"));
        QVERIFY(ui.Boxes().back().text.contains("C17 info: cart: a cart chunk without a bext chunk"));
    }

    void theFileIsCheckedAgainOnceSaved() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", CartEndingIn("2000-01-01")));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        auto* year = qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage2, IDC_END_YEAR));
        year->selectAll();
        QTest::keyClicks(year, "2100");
        ui.ApplyAndWait();
        QCOMPARE(Summary(ui)->text(), QString("No problems found"));
    }
};

QTEST_MAIN(CheckSummaryTest)
#include "CheckSummaryTest.moc"
