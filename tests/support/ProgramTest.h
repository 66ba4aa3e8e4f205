// The set-up every program's tests share: the program's application object, a temporary
// folder that is the current folder while a test runs (where the program reads and writes
// its files), message boxes answered as a user would, and the program's main window.
#pragma once

#include "shell/Application.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TemporaryFolder.h"

#include <string>

template <class Form>
class ProgramTest : public TemporaryFolder {
protected:
    // `form` is the program's global that holds its main window; `show` shows the window
    // once it is created, for tests that look at it or click it.
    ProgramTest(const std::string& program, Form*& form, bool show = false)
        : application(program), form_(form), show_(show)
    {
    }

    // A fixture that prepares something before the window is built does so, then calls this.
    void SetUp() override
    {
        TemporaryFolder::SetUp();
        application.CreateForm(form_);
        if (show_)
            form_->Show();
    }

    TApplication application;
    MessageBoxes boxes;

private:
    Form*& form_;
    bool show_;
};
