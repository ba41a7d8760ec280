// The offer to add a cart chunk to a file without one: asked after the
// refusal, never for a read-only file, and the file changes only on APPLY.
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/support/Unwritable.h"
#include "tests/ui/UiFixture.h"
#include "wave/ChunkLayout.h"

using fixture::ByteVector;

namespace {

ByteVector PlainPcm() {
    return fixture::WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", ByteVector(400, 0x22)).bytes();
}

QLineEdit* Edit(const UiFixture& ui, int page, int id) { return qobject_cast<QLineEdit*>(ui.Item(page, id)); }

}  // namespace

class AddCartTest : public QObject {
    Q_OBJECT

private slots:
    void addedOnApplyWithTheTypedFields() {
        UiFixture ui;
        ui.AddCart().answer = true;
        const auto path = ui.dir.write("a.wav", PlainPcm());
        ui.Open(path);
        QCOMPARE(ui.AddCart().asked, std::vector<QString>{"This file has no cart chunk. Add one when you save?"});
        QCOMPARE(ui.Boxes().size(), std::size_t{1});    // the refusal comes first
        QCOMPARE(fixture::ReadFile(path), PlainPcm());  // nothing yet
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, kCartInfoPage, IDC_VERSION)->text(), QString("0101"));
        QVERIFY(Edit(ui, kCartInfoPage, IDC_TITLE)->isEnabled());

        Edit(ui, kCartInfoPage, IDC_TITLE)->setText("Added");
        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().back().text, QString("ChartChunk Infomation has been saved."));
        QCOMPARE(ui.CartFieldOnDisk(path, wave::cart::kTitle), std::string("Added"));
        QCOMPARE(ui.CartFieldOnDisk(path, wave::cart::kVersion), std::string("0101"));
        QCOMPARE(Edit(ui, kCartInfoPage, IDC_TITLE)->text(), QString("Added"));
    }

    void cancelledOrReadOnlyLeavesTheFileAlone() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", PlainPcm());
        ui.Open(path);
        QCOMPARE(ui.AddCart().asked.size(), std::size_t{1});
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(!Edit(ui, kCartInfoPage, IDC_TITLE)->isEnabled());

        ui.AddCart().asked.clear();
        const auto locked = ui.dir.write("b.wav", PlainPcm());
        const fixture::Unwritable unwritable(locked);
        if (!unwritable.Ok()) QSKIP("the file system cannot make a file read-only");
        ui.Open(locked);
        QVERIFY(ui.AddCart().asked.empty());
        QCOMPARE(fixture::ReadFile(path), PlainPcm());
    }
};

QTEST_MAIN(AddCartTest)
#include "AddCartTest.moc"
