// The application object, the program entry and the display of failures.
#include "shell/Application.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>

TApplication* Application = nullptr;

TApplication::TApplication(std::string title) : title_(std::move(title))
{
    Application = this;
    QApplication::setApplicationName(QString::fromStdString(title_));
    // The layouts ask for an 8-point sans serif at 96 pixels per inch: 11 pixels high.
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

TApplication::~TApplication()
{
    // Windows go last created first, so a dialog never outlives the main window's loop.
    while (!forms_.empty())
        forms_.pop_back();
    Application = nullptr;
}

void TApplication::Run()
{
    if (!MainForm())
        return;
    MainForm()->Show();
    QApplication::exec();
}

void TApplication::ShowException(const Exception& failure)
{
    const std::string& text = failure.Message();
    if (!failuresOnScreen_.insert(text).second)
        return;
    MessageBox(text, true);
    failuresOnScreen_.erase(text);
}

void TApplication::MessageBox(const std::string& text, bool isFailure)
{
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(isFailure ? QMessageBox::Critical : QMessageBox::NoIcon, QString::fromStdString(title_),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void Dispatch(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Exception& failure) {
        if (!Application)
            throw;
        Application->ShowException(failure);
    } catch (...) {
        if (!Application)
            throw;
        Application->ShowException(Exception());
    }
}

void ShowMessage(const std::string& text)
{
    Application->MessageBox(text);
}

int RunApplication(const std::string& title, const std::function<void()>& createForms)
{
    // Qt is handed the program's name alone, so no argument can change its behaviour.
    static std::string programName;
    programName = title;
    static int argc = 1;
    static char* argv[] = {programName.data(), nullptr};
    std::unique_ptr<QApplication> qt;
    if (!QApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);

    TApplication application(title);
    try {
        createForms();
        application.Run();
    } catch (const Exception& failure) {
        application.ShowException(failure);
    } catch (...) {
        application.ShowException(Exception());
    }
    return 0;
}
