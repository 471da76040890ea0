// The whole program's windows for a test suite: the store, its record of steps, the windows and the
// UI-thread synchronizer made once for the suite and freed after it, the about dialog's links kept
// from opening anything. Every test starts with the main window shown and active, and ends once no
// worker is left. Suites of tests that drive the program derive their fixture from this one.
#pragma once

#include "AboutUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "QtSynchronizer.h"
#include "StepRecord.h"
#include "ThreadBase.h"
#include "ThreadTestSupport.h"
#include "WindowTestSupport.h"

#include <QString>
#include <gtest/gtest.h>

class TProgramWindows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtSynchronizer();
        Calc = new TCalc;
        StepRecord = new TStepRecord;
        CreateWindows();
        AboutBox->OpenAddress = [](const QString&) {};
    }
    static void TearDownTestSuite() {
        DestroyWindows();
        delete StepRecord;
        StepRecord = nullptr;
        delete Calc;
        Calc = nullptr;
        SetSynchronizer(nullptr);
    }
    void SetUp() override { ASSERT_TRUE(ShowMain()); }
    void TearDown() override { EXPECT_TRUE(TUiThread::WaitForThreads()); }

    static bool ShowMain() {
        FirstForm->show();
        FirstForm->activateWindow();
        return WaitFor([] { return FirstForm->isActiveWindow(); });
    }
};
