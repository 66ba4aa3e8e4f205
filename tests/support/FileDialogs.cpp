// Polls for a modal file dialog from inside its own nested loop and answers it.
#include "tests/support/FileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

FileDialogs::FileDialogs() : poll_(std::make_unique<QTimer>())
{
    QObject::connect(poll_.get(), &QTimer::timeout, [this] { AnswerOpenDialog(); });
    poll_->start(1);
}

FileDialogs::~FileDialogs() = default;

void FileDialogs::AnswerOpenDialog()
{
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog->property("answered").toBool())
        return;
    dialog->setProperty("answered", true);
    QMetaObject::invokeMethod(
        dialog,
        [this, dialog] {
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
        },
        Qt::QueuedConnection);
}
