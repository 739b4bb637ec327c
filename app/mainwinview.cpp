// The main window's View menu: the zoom and the colour theme of every window.

#include <QActionGroup>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "gui/named.h"
#include "gui/zoom.h"

void TMainWin::CreateViewMenu() {
    ViewMenu = Named(new QMenu("&View", this), "ViewMenu", 0);
    ViewMenu->addActions(AddZoomActions(this));
    ViewMenu->addSeparator();
    ThemeMenu = Named(ViewMenu->addMenu("&Theme"), "ThemeMenu");
    auto* group = new QActionGroup(ThemeMenu);
    const std::pair<QAction**, const char*> entries[] = {
        {&MenuThemeSystem, "&System"},
        {&MenuThemeLight, "&Light"},
        {&MenuThemeDark, "&Dark"},
        {&MenuThemeHighContrast, "&High Contrast"},
    };
    for (size_t i = 0; i < std::size(entries); ++i) {
        const TTheme theme = Themes[i];
        QAction* entry = Named(ThemeMenu->addAction(entries[i].second),
                               qPrintable("MenuTheme" + ThemeName(theme)));
        entry->setCheckable(true);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [theme] { SetTheme(theme); });
        *entries[i].first = entry;
    }
    auto* help = menuBar()->findChild<QMenu*>("HelpMenu", Qt::FindDirectChildrenOnly);
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, ViewMenu);
}

void TMainWin::ApplyTheme() {
    const QList<QAction*> entries{MenuThemeSystem, MenuThemeLight, MenuThemeDark,
                                  MenuThemeHighContrast};
    entries[int(CurrentTheme())]->setChecked(true);

    for (THexGrid* grid : {MainMemory, Registers, SysRegs}) {
        grid->SetColor(ThemeColour(TThemeColour::CellBackground));
        grid->SetFontColor(ThemeColour(TThemeColour::CellText));
        TCellFont selected = grid->FontSelected();
        selected.Color = palette().color(QPalette::HighlightedText);
        grid->SetFontSelected(selected);
        grid->SetMarkWidth(MarkWidth());
    }
    // PC and IR show no change mark, in any theme.
    for (THexGrid* grid : {MainMemory, Registers}) {
        TCellFont changed = grid->FontChanged();
        changed.Color = ThemeColour(TThemeColour::ChangedCell);
        grid->SetFontChanged(changed);
        grid->SetChangedUnderline(StrongMarks());
    }
    TCellFont pcChanged = SysRegs->FontChanged();
    pcChanged.Color = ThemeColour(TThemeColour::CellText);
    SysRegs->SetFontChanged(pcChanged);

    // On High Contrast's black the output window's own edge cannot be seen.
    OutputFrame->setVisible(StrongMarks());
    OutputBox->SetColor(ThemeColour(TThemeColour::OutputBackground));
    OutputBox->SetTextColor(ThemeColour(TThemeColour::OutputText));
    QPalette listPalette = DisasmWin->palette();
    listPalette.setColor(QPalette::Text, ThemeColour(TThemeColour::DisasmText));
    DisasmWin->setPalette(listPalette);
    DisasmWin->viewport()->update();  // the breakpoint dots
    SetStatus(PanelText(2), statusColour_);
    // The media glyphs are dark: on a dark button they take the button's text colour.
    const std::pair<QPushButton*, QStyle::StandardPixmap> glyphs[] = {
        {RunButton, QStyle::SP_MediaPlay},
        {StepButton, QStyle::SP_MediaSeekForward},
        {BreakButton, QStyle::SP_MediaPause}};
    for (const auto& [button, glyph] : glyphs)
        button->setIcon(
            ThemedIcon(style()->standardIcon(glyph), palette().color(QPalette::ButtonText)));
}

void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    CapZoomToScreen();
    if (windowHandle())
        connect(windowHandle(), &QWindow::screenChanged, this, &TMainWin::CapZoomToScreen,
                Qt::UniqueConnection);
}

// This window is the largest of them, fixed in size: the zoom goes no higher than lets
// all of it, title bar included, stay on its screen.
void TMainWin::CapZoomToScreen() {
    const QScreen* shownOn = screen();
    if (!shownOn) return;
    // Before the window manager has framed the window, room for a title bar is assumed.
    const QSize measured = frameGeometry().size() - size();
    const QSize frame = measured.height() > 0 ? measured : QSize(16, 40);
    SetZoomCap(ZoomCap(shownOn->availableGeometry().size(), size() * 100 / ZoomPercent(), frame));
}
