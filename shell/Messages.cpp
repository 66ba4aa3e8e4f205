// Message boxes and the failure queue. A timer whose handler fails on every tick must
// never bury the window under boxes: hence one failure box at a time, no repeats while
// queued, and a way to retire a message for good.
#include "shell/Messages.h"

#include "shell/Files.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QShortcut>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <new>
#include <set>
#include <system_error>

namespace {

const char* const DontShowAgainText = "Больше не показывать это сообщение";
// What a box says of a failure that brought no words of its own.
const std::string UnexpectedText = "Произошла непредвиденная ошибка";

struct FailureDisplay {
    std::deque<std::string> waiting;
    std::string onScreen;
    bool showing = false;
    std::set<std::string> retired;
};

FailureDisplay& Failures()
{
    static FailureDisplay display;
    return display;
}

// The box belongs to the program's window even when another program has the focus.
QWidget* BoxOwner()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowType() == Qt::Window)
            return widget;
    return nullptr;
}

// Shows one modal box; tells whether the user ticked the check box, if it had one.
bool ShowBox(const std::string& text, bool isFailure)
{
    QMessageBox box(isFailure ? QMessageBox::Critical : QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, BoxOwner());
    box.setTextFormat(Qt::PlainText);
    // Ctrl+C copies the message, so a user can pass an error on word for word.
    QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated,
                     [&text] { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); });
    if (isFailure)
        box.setCheckBox(new QCheckBox(QString::fromUtf8(DontShowAgainText)));
    box.exec();
    return isFailure && box.checkBox()->isChecked();
}

} // namespace

void Dispatch(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        ShowCaughtFailure();
    }
}

void ShowCaughtFailure()
{
    try {
        throw;
    } catch (const Exception& failure) {
        ShowFailure(failure);
    } catch (const std::bad_alloc&) {
        ShowFailure(Exception("Не хватает памяти, чтобы выполнить это действие"));
    } catch (const std::system_error& failure) {
        // The library's own words are English: they go to the log, the error number's
        // meaning to the box.
        std::fprintf(stderr, "%s\n", failure.what());
        const std::error_category& category = failure.code().category();
        const bool numbered = category == std::system_category() || category == std::generic_category();
        ShowFailure(Exception(UnexpectedText + (numbered ? ": " + SystemReason(failure.code().value()) : "")));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        ShowFailure(Exception(UnexpectedText));
    } catch (...) {
        ShowFailure(Exception(UnexpectedText));
    }
}

void ShowFailure(const Exception& failure)
{
    const std::string text = failure.Message().empty() ? UnexpectedText : failure.Message();
    if (!QApplication::instance()) {
        qWarning("%s", text.c_str());
        return;
    }
    FailureDisplay& display = Failures();
    const bool known = display.retired.count(text) || (display.showing && display.onScreen == text)
                       || std::find(display.waiting.begin(), display.waiting.end(), text) != display.waiting.end();
    if (known)
        return;
    display.waiting.push_back(text);
    // A box already on screen shows the queue when it is dismissed; this call was made
    // from inside its nested loop and returns at once.
    if (display.showing)
        return;
    display.showing = true;
    while (!display.waiting.empty()) {
        display.onScreen = display.waiting.front();
        display.waiting.pop_front();
        if (ShowBox(display.onScreen, true))
            display.retired.insert(display.onScreen);
    }
    display.onScreen.clear();
    display.showing = false;
}

void ResetFailureDisplay()
{
    Failures() = FailureDisplay();
}

void ShowMessage(const std::string& text)
{
    ShowBox(text, false);
}
