// The whole program's windows for a test suite: the store, the six windows and the UI-thread
// synchronizer made once for the suite and freed after it, the about dialog's links kept from
// opening anything. Suites of tests that drive the program derive their fixture from this one.
#pragma once

#include "AboutUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "QtSynchronizer.h"
#include "ThreadBase.h"

#include <QString>
#include <gtest/gtest.h>

class TProgramWindows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtSynchronizer();
        Calc = new TCalc;
        CreateWindows();
        AboutBox->OpenAddress = [](const QString&) {};
    }
    static void TearDownTestSuite() {
        DestroyWindows();
        delete Calc;
        Calc = nullptr;
        SetSynchronizer(nullptr);
    }
};
