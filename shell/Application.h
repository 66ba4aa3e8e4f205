// The application object, the entry every program's main calls, the one event dispatch
// that shows escaping failures, and ShowMessage.
#pragma once

#include "shell/Forms.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class TApplication {
public:
    // `title` names the program in every message box it shows.
    explicit TApplication(std::string title);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }

    // Constructs a window (which applies its layout) and stores it in `reference`; the
    // first window created is the main window. The application owns the windows.
    template <class T>
    void CreateForm(T*& reference)
    {
        auto form = std::make_unique<T>();
        reference = form.get();
        forms_.push_back(std::move(form));
    }

    TCustomForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main window and runs the event loop until the main window closes.
    void Run();

    // Shows a failure's message in a modal box titled with the program's name. While the
    // box for a message is on screen the same message is not shown again, so a timer that
    // fails on every tick cannot pile boxes up.
    void ShowException(const Exception& failure);

    // A modal box with the text and an OK button; returns when the user dismisses it.
    void MessageBox(const std::string& text, bool isFailure = false);

private:
    std::string title_;
    std::vector<std::unique_ptr<TCustomForm>> forms_;
    std::set<std::string> failuresOnScreen_;
};

extern TApplication* Application;

// Runs an event handler: any exception that escapes it is shown, and the loop goes on.
void Dispatch(const std::function<void()>& handler);

void ShowMessage(const std::string& text);

// The whole life of a program: set up the application, create its windows, run the loop.
// A failure while creating the windows is shown and ends the program. Arguments are not
// read; the result is always 0.
int RunApplication(const std::string& title, const std::function<void()>& createForms);
