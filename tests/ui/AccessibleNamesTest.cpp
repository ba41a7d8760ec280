// The names screen readers and accessibility-tree tools find each control
// by, page by page; none of the controls a user works is left unnamed, and
// a shown value is heard with its caption.
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

namespace {

QStringList NamesOn(const QWidget* page) {
    QStringList names;
    for (const QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty()) names << widget->accessibleName();
    }
    return names;
}

template <class Control>
int Unnamed(const QWidget* page) {
    int unnamed = 0;
    for (const Control* control : page->findChildren<Control*>()) unnamed += control->accessibleName().isEmpty();
    return unnamed;
}

// What a screen reader says of a control: its captions (labelled-by), then its name.
QString Heard(QWidget* widget) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    QStringList said;
    for (const auto& [caption, relation] : control->relations(QAccessible::Label)) {
        said << caption->text(QAccessible::Name);
    }
    said << control->text(QAccessible::Name);
    return said.join(' ');
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void eachPageNamesItsControlsFromTheirLabels_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Start") << int{kStartPage} << QStringList{"Open", "Load File", "Character Set", "Findings..."};
        QTest::newRow("EBU Info") << int{kEbuInfoPage}
                                  << QStringList{"Description",      "Originator",       "Originator Reference",
                                                 "Origination Date", "Origination Time", "Coding History"};
        QTest::newRow("Cart Chunk Info 1")
            << int{kCartInfoPage}
            << QStringList{"Version", "Title", "Artist", "Client ID", "Category", "Classification"};
        QTest::newRow("Cart Chunk Info 2") << int{kCartInfoPage2}
                                           << QStringList{"OutCue",
                                                          "Start Date year",
                                                          "Start Date month",
                                                          "Start Date day",
                                                          "Start Time hour",
                                                          "Start Time minute",
                                                          "Start Time second",
                                                          "End Date year",
                                                          "End Date month",
                                                          "End Date day",
                                                          "End Time hour",
                                                          "End Time minute",
                                                          "End Time second",
                                                          "Producer App ID",
                                                          "Producer App Ver",
                                                          "User Def",
                                                          "dwReferenceLevel",
                                                          "PostTimer",
                                                          "URL"};
        QTest::newRow("Player") << int{kPlayerPage}
                                << QStringList{"Play",
                                               "Stop",
                                               "Waveform",
                                               "Markers",
                                               "Marker usage",
                                               "Marker usage code",
                                               "Marker time",
                                               "Add marker at the time, or at the playhead when no time is typed",
                                               "Delete the selected marker",
                                               "Marker warnings"};
        QTest::newRow("About") << int{kAboutPage} << QStringList{"VANTO web site"};
    }

    void eachPageNamesItsControlsFromTheirLabels() {
        QFETCH(int, page);
        QFETCH(QStringList, names);
        UiFixture ui;
        QVERIFY(ui.ShowPage(page));
        const QWidget* shown = ui.Sheet().GetPage(page);
        QCOMPARE(NamesOn(shown), names);
        QCOMPARE(Unnamed<QLineEdit>(shown) + Unnamed<QPlainTextEdit>(shown) + Unnamed<QComboBox>(shown) +
                     Unnamed<QPushButton>(shown),
                 0);
    }

    void shownValuesAreHeardWithTheirCaptions() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QCOMPARE(Heard(ui.Item(kStartPage, IDC_FORMAT_TAG)), QString("Fomat Tag: PCM"));
        QCOMPARE(Heard(ui.Item(kStartPage, IDC_SAMPLE_RATE)), QString("Sample Rate: 44100"));
        QCOMPARE(Heard(ui.Item(kStartPage, IDC_BLOCK_ALIGN)), QString("Block Align: 4"));
        // An edit keeps its caption's name; its value is its text.
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(QAccessible::queryAccessibleInterface(ui.Item(kCartInfoPage, IDC_TITLE))->text(QAccessible::Name),
                 QString("Title"));
        // The position display has no caption: what it shows, described.
        QVERIFY(ui.ShowPage(kPlayerPage));
        QWidget* display = ui.Item(kPlayerPage, IDC_DISPLAY);
        qobject_cast<QLabel*>(display)->setText("00:01 / 00:05");
        QCOMPARE(Heard(display), QString("00:01 / 00:05"));
        QCOMPARE(QAccessible::queryAccessibleInterface(display)->text(QAccessible::Description), QString("Position"));
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "AccessibleNamesTest.moc"
