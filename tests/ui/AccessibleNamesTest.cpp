// The names screen readers and accessibility-tree tools find each control
// by, page by page; none of the controls a user works is left unnamed.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "UiFixture.h"

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

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void eachPageNamesItsControlsFromTheirLabels_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Start")
            << int{kStartPage}
            << QStringList{"Open",        "Load File",       "Fomat Tag",   "Channel",      "Average Bytes Per Sec",
                           "Sample Rate", "Bits Per Sample", "Block Align", "Character Set"};
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
        QTest::newRow("Player") << int{kPlayerPage} << QStringList{"Play", "Stop", "Position"};
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
};

QTEST_MAIN(AccessibleNamesTest)
#include "AccessibleNamesTest.moc"
