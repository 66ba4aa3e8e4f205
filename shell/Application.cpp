// The application object and the program entry.
#include "shell/Application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

TApplication* Application = nullptr;

TApplication::TApplication(const std::string& title)
{
    Application = this;
    ResetFailureDisplay();
    QApplication::setApplicationName(QString::fromStdString(title));
    // The layouts ask for an 8-point sans serif at 96 pixels per inch: 11 pixels high.
    QApplication::setFont(QtFont(TFont()));
    // The programs speak Russian, and so do Qt's own dialogs and buttons where Qt has the
    // words (the file dialog above all); without the translation they stay English.
    translator_ = std::make_unique<QTranslator>();
    if (translator_->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator_.get());
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

int RunApplication(const std::string& title, const std::function<void()>& createForms)
{
    // Qt is handed the program's name alone, so no argument can change its behaviour.
    static std::string programName;
    programName = title;
    static int argc = 1;
    static char* argv[] = {nullptr, nullptr};
    argv[0] = programName.data();
    // A window on a Wayland desktop cannot place itself, and sizekeeper's whole job is to put
    // its window back where it was. Where X11 may be at hand too (XWayland sets DISPLAY) and
    // the user has chosen no platform, the programs run through X11; a DISPLAY that names no
    // reachable server (left over in a Wayland session) falls back to Wayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    std::unique_ptr<QApplication> qt;
    if (!QApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);

    TApplication application(title);
    try {
        createForms();
        application.Run();
    } catch (...) {
        ShowCaughtFailure();
    }
    return 0;
}
