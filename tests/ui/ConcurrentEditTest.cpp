// APPLY after another program edited the cart chunk of the open file: the
// save is refused and says so, and the other program's edit stays.
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;

namespace {
constexpr std::size_t kArtistInFile = 12 + 8 + 16 + 8 + 631 + 8 + 68;  // fmt, bext, cart header; Artist
}  // namespace

class ConcurrentEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void applyKeepsAnotherProgramsEdit() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
        ui.Open(path);
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QTest::keyClicks(qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage, IDC_TITLE)), " (edited)");

        // Meanwhile another program renames the artist in place.
        ByteVector theirs = fixture::ReadFile(path);
        std::copy_n("Another Band\0\0\0\0", 16, theirs.begin() + kArtistInFile);
        fixture::WriteFile(path, theirs);

        ui.ApplyAndWait();
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("The cart chunk was NOT saved.\n\n"
                                             "The file was changed by another program since it was loaded."));
        QCOMPARE(ui.Boxes()[0].caption, QString("Saving Failed"));
        QVERIFY(fixture::ReadFile(path) == theirs);
    }
};

QTEST_MAIN(ConcurrentEditTest)
#include "ConcurrentEditTest.moc"
