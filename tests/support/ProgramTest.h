// The set-up every program's tests share: the program's application object, a temporary
// folder that is the current folder while a test runs (where the program reads and writes
// its files), message boxes answered as a user would, and the program's main window.
#pragma once

#include "shell/Application.h"
#include "tests/support/MessageBoxes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

template <class Form>
class ProgramTest : public ::testing::Test {
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
        ASSERT_TRUE(folder.isValid());
        QDir::setCurrent(folder.path());
        application.CreateForm(form_);
        if (show_)
            form_->Show();
    }
    void TearDown() override { QDir::setCurrent(QDir::rootPath()); }

    QTemporaryDir folder;
    TApplication application;
    MessageBoxes boxes;

private:
    Form*& form_;
    bool show_;
};
