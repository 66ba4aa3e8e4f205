// File dialogs over Qt's own (non-native) file dialog, so they behave alike everywhere.
#include "shell/Dialogs.h"

#include "shell/LayoutClasses.h"

#include <QApplication>
#include <QFileDialog>

bool TSaveDialog::Execute()
{
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

void AddDialogClasses(ClassTable& classes)
{
    classes["TSaveDialog"] = {"",
                              [] { return std::make_unique<TSaveDialog>(); },
                              {TextProperty("FileName", &TCommonDialog::SetFileName)}};
}
