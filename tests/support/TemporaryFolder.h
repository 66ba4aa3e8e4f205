// A fresh folder that is the current folder while a test runs, removed with all it holds
// when the test ends.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TemporaryFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QDir::setCurrent(folder.path());
    }
    void TearDown() override { QDir::setCurrent(QDir::rootPath()); }

    QTemporaryDir folder;
};
