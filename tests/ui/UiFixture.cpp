#include "UiFixture.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "resource.h"

UiFixture::UiFixture() {
    auto boxes = std::make_unique<framework::RecordingMessageBoxService>();
    boxes_ = boxes.get();
    previousBoxes_ = framework::SetMessageBoxService(std::move(boxes));
    auto chooser = std::make_unique<ScriptedFileChooser>();
    chooser_ = chooser.get();
    previousChooser_ = framework::SetFileChooser(std::move(chooser));
    auto question = std::make_unique<ScriptedSaveQuestion>();
    question_ = question.get();
    previousQuestion_ = framework::SetSaveQuestion(std::move(question));
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
