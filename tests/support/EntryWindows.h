// The data-entry window with its random-fill dialog and the store, made once for a suite of
// tests of those two windows and freed after it.
#pragma once

#include "CalcUnit.h"
#include "InputABCUnit.h"
#include "ProgramFaces.h"
#include "RandomUnit.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

class TEntryWindows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Calc = new TCalc;
        InstallProgramFaces();
        RandomForm = new TRandomForm;
        InputABCForm = new TInputABCForm;
    }
    static void TearDownTestSuite() {
        delete InputABCForm;
        delete RandomForm;
        delete Calc;
        InputABCForm = nullptr;
        RandomForm = nullptr;
        Calc = nullptr;
    }

    // Opens the data-entry window modally for an M x N problem and runs Action in it.
    static int Open(int M, int N, std::function<void()> Action) {
        Calc->M = M;
        Calc->N = N;
        WhenModal(InputABCForm, std::move(Action));
        return InputABCForm->ShowModal();
    }
};
