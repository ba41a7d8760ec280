// The link static and the hover picture button: their looks in every
// state, hover tracking by polling, fitting to the text, a click's outcome,
// the opener's exit status as that outcome, and the rules behind opening a
// link when the desktop cannot.
#include <QFocusFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "about/CHoverBitmapButton.h"
#include "about/CLinkStatic.h"
#include "about/HoverPoll.h"
#include "about/LinkOpener.h"
#include "about/ProcessLinkOpener.h"
#include "tests/ui/RecordingLinkOpener.h"
#include "tests/ui/RecordingMessageBoxService.h"

using framework::RGB;

namespace {

// A shown window with one child at a known place.
template <class Control>
struct Window {
    explicit Window(const QString& text, QRect geometry = {20, 20, 150, 30}) : control(new Control(text, &window)) {
        window.resize(400, 120);
        control->setGeometry(geometry);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("the test window never showed");
    }
    void Hover() const { QCursor::setPos(control->mapToGlobal(QPoint(3, 3))); }
    void Leave() const { QCursor::setPos(window.mapToGlobal(QPoint(390, 110))); }
    QWidget window;
    Control* control;
};

QColor Painted(QLabel* label) {
    label->grab();  // the colour is chosen as the label paints
    return label->palette().color(QPalette::WindowText);
}

// Polls seen while the mouse keeps moving inside the control: moves must not
// hold the poll off, so about one each 100 ms.
int PollsWhileMovingInside(QObject* tracker, QWidget* control) {
    struct Counter : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            polls += event->type() == QEvent::Timer;
            return false;
        }
        int polls = 0;
    } counter;
    tracker->findChild<HoverPoll*>()->installEventFilter(&counter);
    for (int i = 0; i < 8; ++i) {
        QCursor::setPos(control->mapToGlobal(QPoint(3 + i % 2 * 6, 5)));
        QTest::qWait(50);
    }
    return counter.polls;
}

}  // namespace

class LinkControlsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void colourAndFontFollowHoverVisitedAndUnderlineMode() {
        for (const int mode :
             {CLinkStatic::UNDERLINE_ALWAYS, CLinkStatic::UNDERLINE_ON_HOVER, CLinkStatic::UNDERLINE_NEVER}) {
            for (const bool visited : {false, true}) {
                const QByteArray context = "mode " + QByteArray::number(mode) + (visited ? " visited" : "");
                Window<QLabel> w("Reelmarker");
                CLinkStatic link;
                QVERIFY(link.SubclassWindow(w.control));
                link.SetUnderlineMode(mode);
                link.MarkVisited(visited);
                const QColor resting = framework::ToQColor(visited ? RGB(85, 26, 139) : RGB(0, 0, 238));
                const auto expect = [&](const QColor& colour, bool underlined, const char* when) {
                    QVERIFY2(Painted(w.control) == colour, context + when);
                    QVERIFY2(w.control->font().underline() == underlined, context + when);
                    // The underlined font is the one in "Verdana".
                    QVERIFY2((w.control->font().family() == "Verdana") == underlined, context + when);
                };
                expect(resting, mode == CLinkStatic::UNDERLINE_ALWAYS, " before");
                w.Hover();
                QTRY_VERIFY(link.MouseInside());
                expect(QColor(255, 0, 0), mode != CLinkStatic::UNDERLINE_NEVER, " hovered");
                w.Leave();
                QTRY_VERIFY(!link.MouseInside());
                expect(resting, mode == CLinkStatic::UNDERLINE_ALWAYS, " after");
            }
        }
    }

    void linkHoverStartsOnePollThatEndsIt() {
        Window<QLabel> w("Reelmarker");
        CLinkStatic link;
        link.SubclassWindow(w.control);
        w.Hover();
        QTRY_VERIFY(link.MouseInside());
        QVERIFY(PollsWhileMovingInside(&link, w.control) >= 2);
        w.Leave();
        QTRY_VERIFY_WITH_TIMEOUT(!link.MouseInside(), 500);
        QCOMPARE(link.HoverTimerId(), 0);
    }

    void buttonPaintsItsPictureUnscaledAndSwapsItWhileHovered() {
        Window<QPushButton> w("VANTOURL", {20, 20, 200, 30});
        CHoverBitmapButton button;
        QVERIFY(button.AutoLoad(w.control));
        QCOMPARE(w.control->size(), QSize(159, 14));
        QCOMPARE(w.control->cursor().shape(), Qt::PointingHandCursor);
        // Larger than the picture: at the top-left corner, the rest is the
        // dialog; smaller: the picture's top-left part.
        const auto shows = [&](const char* name, QSize size) {
            w.control->resize(size);
            QImage expected(size, QImage::Format_RGB32);
            expected.fill(w.control->palette().color(QPalette::Window));
            QPainter(&expected).drawImage(0, 0, QImage(QString(":/res/") + name + ".png"));
            return w.control->grab().toImage().convertToFormat(QImage::Format_RGB32) == expected;
        };
        QVERIFY(shows("VANTOURLU", {200, 30}));
        w.Hover();
        QTRY_VERIFY(button.MouseInside());
        QVERIFY(PollsWhileMovingInside(&button, w.control) >= 2);
        QVERIFY(shows("VANTOURLD", {200, 30}));
        w.Leave();
        QTRY_VERIFY_WITH_TIMEOUT(!button.MouseInside(), 500);
        QCOMPARE(button.HoverTimerId(), 0);
        QVERIFY(shows("VANTOURLU", {40, 10}));
        w.control->setDown(true);
        QVERIFY(shows("VANTOURLD", {40, 10}));
    }

    void fitKeepsTheEdgeOrCentreItsAlignmentNames() {
        const QRect wide(10, 20, 101, 30);
        const QSize text90(90, 16);
        QCOMPARE(FitWindowRect(wide, text90, Qt::AlignLeft | Qt::AlignTop), QRect(10, 20, 90, 16));
        QCOMPARE(FitWindowRect(wide, text90, Qt::AlignRight | Qt::AlignTop), QRect(21, 20, 90, 16));
        // Centred, each side moves by half the difference: 101 becomes 91.
        QCOMPARE(FitWindowRect(wide, text90, Qt::AlignHCenter | Qt::AlignTop), QRect(15, 20, 91, 16));
        // Too narrow: each side moves out by half the shortfall, truncated.
        QCOMPARE(FitWindowRect(QRect(10, 20, 80, 30), QSize(91, 16), Qt::AlignHCenter | Qt::AlignTop),
                 QRect(5, 20, 90, 16));
        QCOMPARE(FitWindowRect(QRect(10, 20, 80, 31), QSize(80, 16), Qt::AlignLeft | Qt::AlignVCenter),
                 QRect(10, 27, 80, 17));
        QCOMPARE(FitWindowRect(QRect(10, 20, 80, 10), QSize(80, 16), Qt::AlignLeft | Qt::AlignVCenter),
                 QRect(10, 17, 80, 16));
    }

    void attachingTakesTargetOrTextFromTheOther() {
        Window<QLabel> w("");
        CLinkStatic link;
        link.SetTarget("https://www.vanto.example/", "lost: not attached yet");
        link.SetLinkColors(RGB(1, 2, 3), RGB(4, 5, 6), framework::kNoColor);
        link.SubclassWindow(w.control);
        QCOMPARE(w.control->text(), QString("https://www.vanto.example/"));
        QCOMPARE(w.control->toolTip(), QString("https://www.vanto.example/"));
        QCOMPARE(w.control->cursor().shape(), Qt::PointingHandCursor);
        w.Hover();
        QTRY_VERIFY(link.MouseInside());
        QCOMPARE(Painted(w.control), QApplication::palette().color(QPalette::Highlight));
    }

    void aClickSetsVisitedFromItsOutcomeAndExplainsAFailure() {
        auto boxes = std::make_unique<framework::RecordingMessageBoxService>();
        auto* recorded = boxes.get();
        auto previousBoxes = framework::SetMessageBoxService(std::move(boxes));
        auto opener = std::make_unique<RecordingLinkOpener>();
        auto* links = opener.get();
        auto previousOpener = SetLinkOpener(std::move(opener));
        {
            Window<QLabel> w("service@vanto.example");
            CLinkStatic link;
            link.SubclassWindow(w.control);
            QTest::mouseClick(w.control, Qt::LeftButton, {}, QPoint(3, 3));
            QCOMPARE(links->targets, QStringList{"service@vanto.example"});
            QVERIFY(link.LinkVisited());
            QCOMPARE(Painted(w.control), QColor(85, 26, 139));  // the click ended the hover
            QVERIFY(recorded->boxes.empty());

            links->result = 26;
            QTest::mouseClick(w.control, Qt::LeftButton, {}, QPoint(3, 3));
            QVERIFY(!link.LinkVisited());
            QCOMPARE(Painted(w.control), QColor(0, 0, 238));
            QCOMPARE(recorded->boxes.size(), std::size_t{1});
            QCOMPARE(recorded->boxes[0].text, QString("Unable to open hyperlink:\n\nA sharing violation occurred. "));
            QCOMPARE(recorded->boxes[0].icon, framework::MessageIcon::Exclamation);
        }
        SetLinkOpener(std::move(previousOpener));
        framework::SetMessageBoxService(std::move(previousBoxes));
    }

    void aFocusedLinkShowsItAndOpensWithEnterOrSpace() {
        auto opener = std::make_unique<RecordingLinkOpener>();
        auto* links = opener.get();
        auto previousOpener = SetLinkOpener(std::move(opener));
        {
            Window<QLabel> w("service@vanto.example");
            CLinkStatic link;
            link.SubclassWindow(w.control);
            w.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w.window));
            QVERIFY(w.control->focusPolicy() & Qt::TabFocus);
            w.control->setFocus(Qt::TabFocusReason);
            const auto* frame = w.window.findChild<QFocusFrame*>();
            QVERIFY(frame != nullptr && frame->isVisible());
            QCOMPARE(frame->widget(), w.control);
            QTest::keyClick(w.control, Qt::Key_Return);
            QTest::keyClick(w.control, Qt::Key_Space);
            QCOMPARE(links->targets, QStringList({"service@vanto.example", "service@vanto.example"}));
            w.control->clearFocus();
            QVERIFY(!frame->isVisible());
        }
        SetLinkOpener(std::move(previousOpener));
    }

    void theOpenersExitStatusDecidesTheOutcome_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("browserRegistered");
        QTest::addColumn<int>("result");
        QTest::newRow("opened") << "true" << false << kOpenSucceeded;
        QTest::newRow("failed") << "false" << false << kOpenAssociationIncomplete;
        QTest::newRow("no opener") << "/nonexistent/xdg-open" << false << kOpenFileNotFound;
        QTest::newRow("failed, browser started") << "false" << true << kOpenSucceeded;
    }

    void theOpenersExitStatusDecidesTheOutcome() {
        QFETCH(QString, program);
        QFETCH(bool, browserRegistered);
        QFETCH(int, result);
        ProcessLinkOpener opener(program, [browserRegistered]() -> std::optional<QString> {
            if (browserRegistered) return QString("true \"%1\" --new-window");
            return std::nullopt;
        });
        QObject context;
        std::optional<int> outcome;
        opener.OpenTarget("mailto:service@vanto.example", &context, [&outcome](int r) { outcome = r; });
        QTRY_VERIFY(outcome.has_value());
        QCOMPARE(*outcome, result);

        // A window gone before the opener ends hears nothing.
        auto gone = std::make_unique<QObject>();
        bool heard = false;
        opener.OpenTarget("mailto:service@vanto.example", gone.get(), [&heard](int) { heard = true; });
        gone.reset();
        QTest::qWait(200);
        QVERIFY(!heard);
    }

    void aFailedOpenerBeepsAndExplainsWhileTheWindowGoesOn() {
        auto boxes = std::make_unique<framework::RecordingMessageBoxService>();
        auto* recorded = boxes.get();
        auto previousBoxes = framework::SetMessageBoxService(std::move(boxes));
        auto previousOpener =
            SetLinkOpener(std::make_unique<ProcessLinkOpener>("false", ProcessLinkOpener::HandlerQuery{}));
        {
            Window<QLabel> w("service@vanto.example");
            CLinkStatic link;
            link.SubclassWindow(w.control);
            link.MarkVisited(true);
            QTest::mouseClick(w.control, Qt::LeftButton, {}, QPoint(3, 3));
            QVERIFY(recorded->boxes.empty());  // the click returned while the opener runs
            QTRY_COMPARE(recorded->boxes.size(), std::size_t{1});
            QCOMPARE(recorded->boxes[0].text,
                     QString("Unable to open hyperlink:\n\nThe filename association is\nincomplete or invalid."));
            QVERIFY(!link.LinkVisited());
        }
        SetLinkOpener(std::move(previousOpener));
        framework::SetMessageBoxService(std::move(previousBoxes));
    }

    void unknownCodesAreShownAsSignedNumbers() {
        QCOMPARE(OpenErrorText(1), QString("Unknown Error (1) occurred."));
        QCOMPARE(OpenErrorText(-2), QString("Unknown Error (-2) occurred."));
    }

    void fallbackCommandCutsAtThePlaceholderAndAppendsTheTarget() {
        const std::string target = "mailto:service@vanto.example?Subject=Reelmarker";
        QCOMPARE(FallbackCommand("/usr/bin/browser \"%1\" --new-window", target), "/usr/bin/browser  " + target);
        QCOMPARE(FallbackCommand("/usr/bin/browser %1 --new-window", target), "/usr/bin/browser  " + target);
        QCOMPARE(FallbackCommand("/usr/bin/browser", target), "/usr/bin/browser " + target);
        // The quoted placeholder is looked for first; an earlier bare one stays.
        QCOMPARE(FallbackCommand("browser %1 \"%1\"", target), "browser %1  " + target);
        // 520 bytes with the terminator, and never more.
        QCOMPARE(FallbackCommand("b", std::string(517, 'x'))->size(), std::size_t{519});
        QVERIFY(!FallbackCommand("b", std::string(518, 'x')));
    }

    void theHtmlHandlersEntryGivesTheRegisteredCommand() {
        const QString entry =
            "[Desktop Entry]\nName=Browser\nExec=/opt/browser/run\\s--class=%c \"%u\" %%profile\n"
            "[Desktop Action new-window]\nExec=other %U\n";
        QCOMPARE(DesktopEntryExec(entry), QString("/opt/browser/run --class=%c \"%u\" %%profile"));
        QCOMPARE(PlaceholderCommand(*DesktopEntryExec(entry)), QString("/opt/browser/run --class= \"%1\" %profile"));
        QCOMPARE(PlaceholderCommand("b %U %f %F"), QString("b %1 %1 %1"));
    }
};

QTEST_MAIN(LinkControlsTest)
#include "LinkControlsTest.moc"
