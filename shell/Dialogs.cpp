// File dialogs over Qt's own (non-native) file dialog, so they behave alike everywhere.
#include "shell/Dialogs.h"

#include "shell/Layout.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QSettings>
#include <QStringList>

namespace {

// "рисунки *.bmp|*.bmp|все|*.*" becomes Qt's "рисунки *.bmp (*.bmp)", "все (*.*)"; the
// dialog shows only the descriptions, as the program names them.
QStringList NameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return filters;
}

// Qt's file dialog keeps its history in the user's QtProject.conf and writes it whenever a
// dialog closes; the programs write no file but their own. Qt's user settings are pointed
// at a folder that cannot exist (below a device file), so nothing is read or written there;
// the dialogs offer the last file chosen in the run themselves.
void KeepNoDialogHistory()
{
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

} // namespace

bool TSaveDialog::Execute()
{
    KeepNoDialogHistory();
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!fileName_.empty())
        dialog.selectFile(QString::fromStdString(fileName_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName_ = dialog.selectedFiles().front().toStdString();
    return true;
}

bool TOpenDialog::Execute()
{
    KeepNoDialogHistory();
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Without ofFileMustExist a typed name of a file yet to be made is accepted too.
    dialog.setFileMode((options_ & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = NameFilters(filter_);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!fileName_.empty()) {
        const QFileInfo last(QString::fromStdString(fileName_));
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    } else {
        // A dialog run for the first time starts where the program opens its files.
        dialog.setDirectory(QDir::currentPath());
    }
    if (!(options_ & ofEnableSizing))
        dialog.setFixedSize(dialog.sizeHint());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName_ = dialog.selectedFiles().front().toStdString();
    return true;
}

TOpenPictureDialog::TOpenPictureDialog()
{
    filter_ = "Все рисунки (*.bmp;*.png;*.jpg;*.jpeg;*.gif)|*.bmp;*.png;*.jpg;*.jpeg;*.gif"
              "|Точечные рисунки (*.bmp)|*.bmp|PNG (*.png)|*.png|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg"
              "|GIF (*.gif)|*.gif";
}

void AddDialogClasses(ClassTable& classes)
{
    classes["TSaveDialog"] = {"TNonVisualComponent",
                              [] { return std::make_unique<TSaveDialog>(); },
                              {TextProperty("FileName", &TCommonDialog::SetFileName)}};
    classes["TOpenDialog"] = {"TNonVisualComponent",
                              [] { return std::make_unique<TOpenDialog>(); },
                              {
                                  TextProperty("FileName", &TCommonDialog::SetFileName),
                                  TextProperty("Filter", &TOpenDialog::SetFilter),
                                  FlagsProperty("Options", &TOpenDialog::SetOptions, OpenOptionNames,
                                                "ожидается список, например [\"ofFileMustExist\"]"),
                              }};
    classes["TOpenPictureDialog"] = {"TOpenDialog", [] { return std::make_unique<TOpenPictureDialog>(); }, {}};
}
