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
    // The windows go while Application still points here: closing controls may dispatch.
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
    // The box belongs to the program's window even when another program has the focus.
    QWidget* owner = QApplication::activeWindow();
    if (!owner && MainForm())
        owner = MainForm()->Widget();
    QMessageBox box(isFailure ? QMessageBox::Critical : QMessageBox::NoIcon, QString::fromStdString(title_),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace {

// Every program has its application object; a failure outside one is still never lost.
void ShowFailure(const Exception& failure)
{
    if (Application)
        Application->ShowException(failure);
    else
        qWarning("%s", failure.Message().c_str());
}

} // namespace

void Dispatch(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Exception& failure) {
        ShowFailure(failure);
    } catch (...) {
        ShowFailure(Exception());
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
    static char* argv[] = {nullptr, nullptr};
    argv[0] = programName.data();
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
