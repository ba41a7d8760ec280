// The file's character set: text it cannot hold is kept as typed, marked and
// refused by APPLY; the set chosen on the Start page shows and saves the text.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;
namespace cart = wave::cart;

namespace {

QLineEdit* Edit(const UiFixture& ui, int id) { return qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage, id)); }

}  // namespace

class CharacterSetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void textTheSetCannotHoldIsKeptMarkedAndNeverSaved() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QLineEdit* title = Edit(ui, IDC_TITLE);
        title->clear();
        TypeText(title, QString::fromUtf8("Łódź Kaliska"));
        QCOMPARE(title->text(), QString::fromUtf8("Łódź Kaliska"));
        const QString notice = QString::fromUtf8(
            "The characters \"Ł\", \"ź\" cannot be stored in the file's character set (Windows-1252).");
        QCOMPARE(title->toolTip(), notice);
        QCOMPARE(title->accessibleDescription(), notice);

        QTest::mouseClick(ui.dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
        QVERIFY(!ui.dialog->Saving());
        QCOMPARE(
            ui.Boxes().back().text,
            QString::fromUtf8(
                "Title: the characters \"Ł\", \"ź\" cannot be stored in the file's character set (Windows-1252)."));
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(title->text(), QString::fromUtf8("Łódź Kaliska"));
        QVERIFY(fixture::ReadFile(path) == before);

        title->setText(QString::fromUtf8("Lódz Kaliska"));
        QCOMPARE(title->toolTip(), QString());
        ui.ApplyAndWait();
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kTitle), std::string("L\xF3\x64z Kaliska"));
    }

    void theChosenSetShowsAndSavesTheTextAndLeavesUntouchedBytesAlone() {
        UiFixture ui;
        const fixture::ChunkData stored =
            fixture::TypicalCart().text(cart::kTitle, "\xC5\x81\xC3\xB3\x64\xC5\xBA").text(cart::kArtist, "Caf\xE9");
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave(stored));
        ui.Open(path);
        auto* charsets = qobject_cast<QComboBox*>(ui.Item(kStartPage, IDC_CHARSET));
        QCOMPARE(charsets->currentText(), QString("Windows-1252"));
        QCOMPARE(charsets->count(), 3);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, IDC_ARTIST)->text(), QString::fromUtf8("Café"));

        QVERIFY(ui.ShowPage(kStartPage));
        charsets->setCurrentIndex(charsets->findText("UTF-8"));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, IDC_TITLE)->text(), QString::fromUtf8("Łódź"));
        QCOMPARE(Edit(ui, IDC_ARTIST)->text(), QString::fromUtf8("Caf\uFFFD"));  // not UTF-8: a stand-in
        QLineEdit* classification = Edit(ui, IDC_CLASSIFICATION);
        classification->clear();
        TypeText(classification, QString::fromUtf8("Zażółć"));
        QCOMPARE(classification->toolTip(), QString());
        ui.ApplyAndWait();
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kClassification), std::string("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"));
        QCOMPARE(ui.CartFieldOnDisk(path, cart::kArtist), std::string("Caf\xE9"));

        // Another file opens in the set chosen.
        ui.Open(ui.dir.write("b.wav",
                             fixture::TypicalWave(fixture::TypicalCart().text(cart::kTitle, "\xC3\xA9t\xC3\xA9"))));
        QCOMPARE(charsets->currentText(), QString("UTF-8"));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, IDC_TITLE)->text(), QString::fromUtf8("été"));
    }
};

QTEST_MAIN(CharacterSetTest)
#include "CharacterSetTest.moc"
