// The About page once shown: its texts and fonts, the e-mail link's look,
// size and target, and what its two links open.
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include "res/StringTable.h"
#include "res/resource.h"
#include "tests/ui/RecordingLinkOpener.h"
#include "tests/ui/UiFixture.h"

class AboutPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void theNoticesAndCreditsShowInTheirFonts() {
        UiFixture ui;
        QVERIFY(ui.ShowPage(kAboutPage));
        const auto label = [&](int id) { return qobject_cast<QLabel*>(ui.Item(kAboutPage, id)); };
        QVERIFY(label(IDC_PRODUCT)->text().startsWith("VANTO Reelmarker\nVersion "));
        QVERIFY(label(IDC_CREDITS)->text().startsWith("Software Development\n   "));
        QCOMPARE(label(IDC_LEGAL1)->text(), res::LoadString(IDS_RIGHTS_NOTICE));
        QCOMPARE(label(IDC_LEGAL2)->text(), res::LoadString(IDS_LICENCE_NOTICE));
        const QFont dialogFont = ui.Sheet().GetPage(kAboutPage)->font();
        for (const int id : {IDC_PRODUCT, IDC_CREDITS, IDC_LEGAL1, IDC_LEGAL2}) {
            const QFont font = label(id)->font();
            QCOMPARE(font.family(), QString("Verdana"));
            if (id == IDC_PRODUCT || id == IDC_CREDITS) {
                QCOMPARE(font.weight(), QFont::Bold);
                QCOMPARE(font.pointSizeF(), dialogFont.pointSizeF());
            } else {
                QCOMPARE(font.weight(), dialogFont.weight());
                const int cell = QFontMetrics(font).height();
                QVERIFY2(cell <= 12 && cell >= 10, qPrintable(QString::number(cell)));
            }
        }
    }

    // About shows the banner at its own size; the Start page, whose options
    // row takes some of its place, shows it whole, in proportion, and inside.
    void theBannerShowsWholeOnStartAndAtItsOwnSizeOnAbout() {
        UiFixture ui;
        for (const int page : {kStartPage, kAboutPage}) {
            QVERIFY(ui.ShowPage(page));
            const QWidget* shown = ui.Sheet().GetPage(page);
            const QList<QLabel*> labels = shown->findChildren<QLabel*>();
            const auto banner =
                std::find_if(labels.begin(), labels.end(), [](QLabel* l) { return !l->pixmap().isNull(); });
            QVERIFY(banner != labels.end());
            const QSize size = (*banner)->pixmap().size();
            if (page == kAboutPage) QCOMPARE(size, QSize(499, 191));
            // In proportion, to the pixel the scaling rounds to.
            QVERIFY(std::abs(size.width() * 191 / 499 - size.height()) <= 1);
            QVERIFY(!(*banner)->hasScaledContents());
            QCOMPARE((*banner)->contentsRect().size(), size);
            QVERIFY(shown->rect().contains((*banner)->geometry()));
        }
    }

    void theLinksOpenAMessageToServiceAndTheMakersSite() {
        auto opener = std::make_unique<RecordingLinkOpener>();
        RecordingLinkOpener& links = *opener;
        auto previous = SetLinkOpener(std::move(opener));
        UiFixture ui;
        QVERIFY(ui.ShowPage(kAboutPage));
        CLinkStatic& link = ui.Sheet().m_AboutPage.m_lnkEmail;
        QLabel* email = link.GetSafeWidget();
        QCOMPARE(email->text(), QString("service@vanto.example"));
        QCOMPARE(link.Target(), QString("mailto:service@vanto.example?Subject=Reelmarker"));
        QCOMPARE(email->toolTip(), QString("Email VANTO customer service"));
        QVERIFY(email->font().underline());
        QCOMPARE(email->font().family(), QString("Verdana"));
        // Sized to its text, left and top where the template put them.
        const QRect placed = framework::DialogUnits(ui.Sheet().GetPage(kAboutPage)->font()).ToPixels(165, 240, 79, 8);
        const QFontMetrics metrics(email->font());
        QCOMPARE(email->geometry(),
                 QRect(placed.topLeft(), QSize(metrics.horizontalAdvance(email->text()), metrics.height())));
        const auto colour = [&] {
            email->grab();
            return email->palette().color(QPalette::WindowText);
        };
        QCOMPARE(colour(), QColor(156, 48, 156));
        QCursor::setPos(email->mapToGlobal(QPoint(2, 2)));
        QTRY_VERIFY(link.MouseInside());
        QCOMPARE(colour(), QColor(96, 104, 180));
        QTest::mouseClick(email, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(links.targets, QStringList{link.Target()});
        QCOMPARE(colour(), QColor(156, 48, 156));  // visited looks the same

        QWidget* button = ui.Item(kAboutPage, IDC_WEBSITE);
        QCOMPARE(button->size(), QSize(159, 14));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(links.browserAddresses, QStringList{"https://www.vanto.example/"});
        QCOMPARE(links.targets.size(), 1);
        QVERIFY(ui.Boxes().empty());
        SetLinkOpener(std::move(previous));
    }
};

QTEST_MAIN(AboutPageTest)
#include "AboutPageTest.moc"
