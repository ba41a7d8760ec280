#include "tests/ui/UiFixture.h"

#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>

#include "res/resource.h"
#include "wave/FieldCodecs.h"

namespace {

// What the program remembers goes to one folder per test program, never the
// user's; it lasts across fixtures as it lasts across runs. A case that
// needs nothing remembered points the settings at a folder of its own.
void KeepSettingsFromHome() {
    static const fixture::TempDir folder;
    static const bool redirected = [] {
        const QString path = QString::fromStdString(folder.path().string());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
        return true;
    }();
    Q_UNUSED(redirected);
}

}  // namespace

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

UiFixture::UiFixture() {
    KeepSettingsFromHome();
    auto boxes = std::make_unique<framework::RecordingMessageBoxService>();
    boxes_ = boxes.get();
    previousBoxes_ = framework::SetMessageBoxService(std::move(boxes));
    auto chooser = std::make_unique<ScriptedFileChooser>();
    chooser_ = chooser.get();
    previousChooser_ = framework::SetFileChooser(std::move(chooser));
    auto question = std::make_unique<ScriptedSaveQuestion>();
    question_ = question.get();
    previousQuestion_ = framework::SetSaveQuestion(std::move(question));
    auto addCart = std::make_unique<ScriptedAddCart>();
    addCart_ = addCart.get();
    previousAddCart_ = framework::SetAddCartQuestion(std::move(addCart));
    dialog = std::make_unique<CMainDlg>();
    framework::AfxSetMainWnd(dialog.get());
    dialog->show();
}

UiFixture::~UiFixture() {
    framework::AfxSetMainWnd(nullptr);
    dialog.reset();
    framework::SetMessageBoxService(std::move(previousBoxes_));
    framework::SetFileChooser(std::move(previousChooser_));
    framework::SetSaveQuestion(std::move(previousQuestion_));
    framework::SetAddCartQuestion(std::move(previousAddCart_));
}

void UiFixture::Open(const std::filesystem::path& path) {
    ShowPage(kStartPage);
    AnswerNextOpen(path);
    QTest::mouseClick(Item(kStartPage, IDC_OPEN), Qt::LeftButton);
}

void UiFixture::AnswerNextOpen(const std::filesystem::path& path) {
    chooser_->answers.push_back(QString::fromStdString(path.string()));
}

bool UiFixture::ShowPage(int index) {
    Sheet().TabBar()->setCurrentIndex(index);
    return Sheet().GetActiveIndex() == index;
}

void UiFixture::ApplyAndWait() {
    QTest::mouseClick(dialog->GetDlgItem(IDC_APPLY), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->Saving(), 5000);
}

QWidget* UiFixture::Item(int page, int id) const { return Sheet().GetPage(page)->GetDlgItem(id); }

bool UiFixture::ApplyEnabled() const { return dialog->GetDlgItem(IDC_APPLY)->isEnabled(); }

std::string UiFixture::CartFieldOnDisk(const std::filesystem::path& path, wave::Field field) const {
    const auto at = static_cast<std::size_t>(dialog->Document().loaded.cartPos) + field.offset;
    return wave::ReadTextField(fixture::ReadFile(path), {at, field.width});
}
