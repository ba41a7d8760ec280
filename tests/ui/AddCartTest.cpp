// The offer to add a cart chunk to a file without one: asked after the
// refusal, never for a read-only file, and the file changes only on APPLY.
#include <QLineEdit>
#include <QTest>

#include "framework/AddCartQuestion.h"
#include "res/resource.h"
#include "tests/support/Unwritable.h"
#include "tests/ui/UiFixture.h"
#include "wave/ChunkLayout.h"

using fixture::ByteVector;

namespace {

class ScriptedAddCart : public framework::AddCartQuestion {
public:
    bool Ask(QWidget*, const QString& text) override {
        asked.push_back(text);
        return answer;
    }
    bool answer = true;
    std::vector<QString> asked;
};

ByteVector PlainPcm() {
    return fixture::WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", ByteVector(400, 0x22)).bytes();
}

QLineEdit* Edit(const UiFixture& ui, int page, int id) { return qobject_cast<QLineEdit*>(ui.Item(page, id)); }

}  // namespace

class AddCartTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        auto question = std::make_unique<ScriptedAddCart>();
        question_ = question.get();
        previous_ = framework::SetAddCartQuestion(std::move(question));
    }
    void cleanup() { framework::SetAddCartQuestion(std::move(previous_)); }

    void addedOnApplyWithTheTypedFields() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", PlainPcm());
        ui.Open(path);
        QCOMPARE(question_->asked, std::vector<QString>{"This file has no cart chunk. Add one when you save?"});
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
        question_->answer = false;
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", PlainPcm());
        ui.Open(path);
        QCOMPARE(question_->asked.size(), std::size_t{1});
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(!Edit(ui, kCartInfoPage, IDC_TITLE)->isEnabled());

        question_->asked.clear();
        const auto locked = ui.dir.write("b.wav", PlainPcm());
        const fixture::Unwritable unwritable(locked);
        if (!unwritable.Ok()) QSKIP("the file system cannot make a file read-only");
        ui.Open(locked);
        QVERIFY(question_->asked.empty());
        QCOMPARE(fixture::ReadFile(path), PlainPcm());
    }

private:
    ScriptedAddCart* question_ = nullptr;
    std::unique_ptr<framework::AddCartQuestion> previous_;
};

QTEST_MAIN(AddCartTest)
#include "AddCartTest.moc"
