// Keeps what each file dialog offered and answers it.
#include "tests/support/FileDialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

FileDialogs::FileDialogs()
    : answerer_([](QWidget* window) { return qobject_cast<QFileDialog*>(window) != nullptr; },
                [this](QWidget* window) { Answer(static_cast<QFileDialog*>(window)); })
{
}

void FileDialogs::Answer(QFileDialog* dialog)
{
    Dialog seen;
    for (const QString& file : dialog->selectedFiles())
        seen.selected.push_back(file.toStdString());
    if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
        for (int i = 0; i < types->count(); ++i)
            seen.filters.push_back(types->itemText(i).toStdString());
    seen.mustExist = dialog->fileMode() == QFileDialog::ExistingFile;
    seen.resizable = dialog->minimumSize() != dialog->maximumSize();
    shown_.push_back(seen);

    std::optional<std::string> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!answer || !nameBox)
        return dialog->reject();
    nameBox->setText(QString::fromStdString(*answer));
    static_cast<QDialog*>(dialog)->accept(); // the file dialog checks the typed name
    // A name the dialog refused leaves it open; the test goes on as if cancelled.
    QTimer::singleShot(500, dialog, [dialog] { dialog->reject(); });
}
