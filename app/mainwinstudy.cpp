// The main window's study aids: View > Explain and Run > Predict Mode.

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/explainpanel.h"
#include "app/mainwin.h"
#include "app/predictpanel.h"
#include "app/runcontrol.h"
#include "gui/named.h"
#include "gui/processvalues.h"

void TMainWin::CreateStudyAids() {
    ExplainPanel = new TExplainPanel(*sim_, centralWidget());
    ExplainPanel->hide();
    MenuExplain = Named(new QAction("&Explain", this), "MenuExplain");
    MenuExplain->setCheckable(true);
    MenuExplain->setStatusTip("Explain the next and the last instruction with their values");
    MenuExplain->setToolTip(MenuExplain->statusTip());
    ViewMenu->insertAction(ThemeMenu->menuAction(), MenuExplain);
    connect(MenuExplain, &QAction::toggled, this, &TMainWin::SetExplainShown);

    PredictPanel = new TPredictPanel(centralWidget());
    PredictPanel->hide();
    MenuPredict = Named(new QAction("&Predict Mode", this), "MenuPredict");
    MenuPredict->setCheckable(true);
    MenuPredict->setStatusTip("Say what each step will change before it runs");
    MenuPredict->setToolTip(MenuPredict->statusTip());
    auto* run = menuBar()->findChild<QMenu*>("RunMenu", Qt::FindDirectChildrenOnly);
    run->insertAction(MenuTrace, MenuPredict);
    connect(MenuPredict, &QAction::toggled, this, &TMainWin::SetPredictMode);
    connect(PredictPanel->PredictEdit, &QLineEdit::returnPressed, this, &TMainWin::StepSimulator);
}

void TMainWin::SetExplainShown(bool shown) {
    MenuExplain->setChecked(shown);
    ProcessValues().Explain = shown;
    ExplainPanel->setVisible(shown);
    PlaceControls();
}

bool TMainWin::PredictMode() const {
    return MenuPredict->isChecked();
}

// A run would leave nothing to predict: it is stopped, and Run stays disabled until
// predict mode ends.
void TMainWin::SetPredictMode(bool on) {
    MenuPredict->setChecked(on);
    if (on && run_->Running()) BreakSimulator();
    RunButton->setEnabled(!on && !run_->Running());
    MenuRun->setEnabled(!on);
    PredictPanel->setVisible(on);
    PlaceControls();
    if (on) PredictPanel->PredictEdit->setFocus();
}
