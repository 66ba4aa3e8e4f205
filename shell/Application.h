// The application object, and the entry every program's main calls.
#pragma once

#include "shell/Forms.h"
#include "shell/Messages.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTranslator;

class TApplication {
public:
    // `title` names the program in every message box it shows.
    explicit TApplication(const std::string& title);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Constructs a window (which applies its layout) and stores it in `reference`; the
    // first window created is the main window, whose closing ends the program. The
    // application owns the windows.
    template <class T>
    void CreateForm(T*& reference)
    {
        auto form = std::make_unique<T>();
        reference = form.get();
        if (forms_.empty())
            form->MakeMainForm();
        forms_.push_back(std::move(form));
    }

    TCustomForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main window and runs the event loop until the main window closes.
    void Run();

private:
    std::vector<std::unique_ptr<TCustomForm>> forms_;
    std::unique_ptr<QTranslator> translator_;
};

extern TApplication* Application;

// The whole life of a program: set up the application, create its windows, run the loop.
// A failure while creating the windows is shown and ends the program. Arguments are not
// read; the result is always 0.
int RunApplication(const std::string& title, const std::function<void()>& createForms);
