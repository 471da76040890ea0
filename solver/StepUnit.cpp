#include "StepUnit.h"

#include "CalcUnit.h"

bool ImproveOnce(TCalc& Store, TPivotStep& Step) {
    int Row = 0, Col = 0;
    Store.CalcPotentials();
    Store.FindEnteringCell(Row, Col);
    Step = {{Row, Col}, 0.0, 0.0, {0, 0}};
    if (Row == 0 && Col == 0)
        return false;
    // The very value the entering rule compared.
    Step.Gain = (Store.GetU(Row) + Store.GetV(Col)) - Store.GetC(Row, Col);
    Store.FindCycle(Row, Col);
    Store.SetX(Row, Col, 0.0);
    Store.Pivot();
    Step.Theta = Store.LastTheta();
    Step.Leaving = Store.LastLeaving();
    return true;
}
