#pragma once
// Opening assembler editors from the main window: its Asm button and the assembly-file
// filter of its Open command create editors that assemble into its memory, and every
// editor is asked about its unsaved text, newest first, before the main window closes.

class TMainWin;

void InstallAssemblerEditors(TMainWin& mainWin);
