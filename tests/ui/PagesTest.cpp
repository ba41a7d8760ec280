// The metadata pages: enabling rules, the exchange and its validation,
// and what marks a change.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "res/resource.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;

namespace {

QLineEdit* Edit(const UiFixture& ui, int page, int id) { return qobject_cast<QLineEdit*>(ui.Item(page, id)); }

// Notes which tab the tab bar shows while each box is up.
class TabWatchingBoxes : public framework::MessageBoxService {
public:
    explicit TabWatchingBoxes(QTabBar* tabs) : tabs_(tabs) {}
    void Show(QWidget*, const QString&, const QString&, framework::MessageIcon) override {
        tabsShown.push_back(tabs_->currentIndex());
    }
    std::vector<int> tabsShown;

private:
    QTabBar* tabs_;
};
}  // namespace

class PagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void beforeAnyLoadEverythingIsDisabledAndApplyStaysOff() {
        UiFixture ui;
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(!ui.Item(kCartInfoPage, IDC_TITLE)->isEnabled());
        QVERIFY(!ui.Item(kCartInfoPage, IDC_VERSION)->isEnabled());
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QCOMPARE(Edit(ui, kCartInfoPage2, IDC_START_YEAR)->text(), QString("1900"));
        QCOMPARE(Edit(ui, kCartInfoPage2, IDC_START_DAY)->text(), QString("1"));
        QCOMPARE(Edit(ui, kCartInfoPage2, IDC_START_HOUR)->text(), QString("0"));
        for (const int id : {IDC_USER_DEF, IDC_URL, IDC_START_YEAR, IDC_END_SECOND, IDC_POST_TIMERS}) {
            QVERIFY2(!ui.Item(kCartInfoPage2, id)->isEnabled(), qPrintable(QString::number(id)));
        }
        QCOMPARE(qobject_cast<QComboBox*>(ui.Item(kCartInfoPage2, IDC_POST_TIMERS))->count(), 0);
        // The refresh changed the edits, yet nothing can be saved.
        QVERIFY(!ui.ApplyEnabled());
    }

    void aLoadedCartEnablesItsEditsAndListsTheTimers() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, kCartInfoPage, IDC_VERSION)->text(), QString("0101"));
        QVERIFY(!ui.Item(kCartInfoPage, IDC_VERSION)->isEnabled());
        QVERIFY(ui.Item(kCartInfoPage, IDC_TITLE)->isEnabled());
        QCOMPARE(Edit(ui, kCartInfoPage, IDC_TITLE)->text(), QString("Morning Jingle"));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QVERIFY(ui.Item(kCartInfoPage2, IDC_URL)->isEnabled());
        QVERIFY(ui.Item(kCartInfoPage2, IDC_START_YEAR)->isEnabled());
        QVERIFY(!ui.Item(kCartInfoPage2, IDC_PRODUCER_APP_ID)->isEnabled());
        QVERIFY(!ui.Item(kCartInfoPage2, IDC_LEVEL_REFERENCE)->isEnabled());
        QCOMPARE(Edit(ui, kCartInfoPage2, IDC_LEVEL_REFERENCE)->text(), QString("32768"));
        auto* timers = qobject_cast<QComboBox*>(ui.Item(kCartInfoPage2, IDC_POST_TIMERS));
        QCOMPARE(timers->count(), 8);
        QCOMPARE(timers->itemText(0), QString("1 - MRK     0 days, 00:00:01.00"));
        QCOMPARE(timers->currentIndex(), -1);

        // A file without a cart chunk empties and disables them again.
        ui.Open(ui.dir.write("b.wav",
                             fixture::WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", {}).bytes()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QCOMPARE(Edit(ui, kCartInfoPage, IDC_TITLE)->text(), QString());
        QVERIFY(!ui.Item(kCartInfoPage, IDC_TITLE)->isEnabled());
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QCOMPARE(qobject_cast<QComboBox*>(ui.Item(kCartInfoPage2, IDC_POST_TIMERS))->count(), 0);
        QVERIFY(!ui.ApplyEnabled());
    }

    void urlWithoutItsAreaIsShownDisabled() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave(fixture::TypicalCart(1500))));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        QCOMPARE(Edit(ui, kCartInfoPage2, IDC_URL)->text(), QString("Not supported in version 0100"));
        QVERIFY(!ui.Item(kCartInfoPage2, IDC_URL)->isEnabled());
    }

    void invalidValuesKeepThePageInTheExchangeOrder() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("1800");
        Edit(ui, kCartInfoPage2, IDC_START_HOUR)->setText("24");
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(ui.Sheet().TabBar()->currentIndex(), int(kCartInfoPage2));
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("Please enter an integer between 0 and 23."));
        QCOMPARE(int(ui.Boxes()[0].icon), int(framework::MessageIcon::Exclamation));
        QCOMPARE(ui.dialog->focusWidget(), ui.Item(kCartInfoPage2, IDC_START_HOUR));

        Edit(ui, kCartInfoPage2, IDC_START_HOUR)->setText("23");
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(ui.Boxes().back().text, QString("Please enter an integer between 1900 and 9999."));
        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("");
        QVERIFY(!ui.ShowPage(kStartPage));
        QCOMPARE(ui.Boxes().back().text, QString("Please enter an unsigned whole number."));
        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("2002");
        Edit(ui, kCartInfoPage2, IDC_START_DAY)->setText("31");
        QVERIFY(ui.ShowPage(kStartPage));
        QCOMPARE(ui.Sheet().m_CartInfoPage2.m_nStartYear, 2002u);
    }

    void editsTakeOnlyWhatTheFieldHolds() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QLineEdit* title = Edit(ui, kCartInfoPage, IDC_TITLE);
        title->clear();
        QTest::keyClicks(title, QString(70, 'x'));
        QCOMPARE(title->text().size(), 64);
        QLineEdit* classification = Edit(ui, kCartInfoPage, IDC_CLASSIFICATION);
        classification->clear();
        classification->insert(QString::fromUtf8("Café"));  // as typed or pasted
        QVERIFY(ui.ShowPage(kStartPage));
        QCOMPARE(ui.Sheet().m_CartInfoPage.m_strClassification, std::string("Caf\xE9"));
    }

    void theEbuPageShowsTheBextTextsReadOnly() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave(fixture::TypicalCart(), true)));
        QVERIFY(ui.ShowPage(kEbuInfoPage));
        auto* history = qobject_cast<QPlainTextEdit*>(ui.Item(kEbuInfoPage, IDC_CODING_HISTORY));
        QVERIFY(history->isReadOnly());
        QCOMPARE(history->toPlainText(), QString("A=PCM,F=44100,W=16,M=stereo\n"));
        QCOMPARE(qobject_cast<QPlainTextEdit*>(ui.Item(kEbuInfoPage, IDC_DESCRIPTION))->toPlainText(),
                 QString("A short tone"));
        QVERIFY(ui.ShowPage(kStartPage));
        QCOMPARE(ui.Sheet().m_EbuInfoPage.m_strCodingHistory, std::string("A=PCM,F=44100,W=16,M=stereo\r\n"));
    }

    void aRefusedPageChangeNeverShowsTheOtherTab() {
        UiFixture ui;
        ui.Open(ui.dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("1800");
        QTabBar* tabs = ui.Sheet().TabBar();
        auto watching = std::make_unique<TabWatchingBoxes>(tabs);
        TabWatchingBoxes* boxes = watching.get();
        const auto recorder = framework::SetMessageBoxService(std::move(watching));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kStartPage).center());
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_Right);
        QCOMPARE(boxes->tabsShown, (std::vector<int>{kCartInfoPage2, kCartInfoPage2}));
        QCOMPARE(tabs->currentIndex(), int(kCartInfoPage2));

        Edit(ui, kCartInfoPage2, IDC_START_YEAR)->setText("1999");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kStartPage).center());
        QCOMPARE(ui.Sheet().GetActiveIndex(), int(kStartPage));
        QCOMPARE(tabs->currentIndex(), int(kStartPage));
    }
};

QTEST_MAIN(PagesTest)
#include "PagesTest.moc"
