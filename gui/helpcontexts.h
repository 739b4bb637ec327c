#pragma once
// Every help context number of the program: windows and controls carry them, the help
// topics are filed under them.

// The dynamic property that carries a window's or control's help context.
inline constexpr char HelpContextProperty[] = "helpContext";

// No context of its own: the nearest parent's applies.
inline constexpr int NoContext = 0;
// A window or control that has no topic of its own.
inline constexpr int NoHelpContext = 9999;

// The main window's controls.
inline constexpr int MainMemoryContext = 1;
inline constexpr int RegistersContext = 2;
inline constexpr int SysRegsContext = 3;
inline constexpr int ZeroPCContext = 4;
inline constexpr int OpenButtonContext = 5;
inline constexpr int SaveButtonContext = 6;
inline constexpr int RunButtonContext = 7;
inline constexpr int StepButtonContext = 8;
inline constexpr int BreakButtonContext = 9;
inline constexpr int ResetButtonContext = 10;
inline constexpr int OutputBoxContext = 11;
inline constexpr int ViewAsmButtonContext = 12;
inline constexpr int DisasmWinContext = 13;
inline constexpr int MemoryRowLabelsContext = 14;
inline constexpr int MemoryColumnLabelsContext = 15;
inline constexpr int RegisterLabelsContext = 16;
inline constexpr int SysRegLabelsContext = 17;
inline constexpr int StatusBarContext = 18;
inline constexpr int AssemblerButtonContext = 19;

// The assemble-instruction dialog's boxes.
inline constexpr int OpcodeBoxContext = 101;
inline constexpr int Operand1Context = 102;
inline constexpr int Operand2Context = 103;
inline constexpr int Operand3Context = 104;

// The help menus: the main window's, then the assembler editor's.
inline constexpr int InstructionsContext = 202;
inline constexpr int SyntaxContext = 203;
inline constexpr int EditorInstructionsContext = 601;
inline constexpr int EditorSyntaxContext = 602;
// The syntax help the first start opens, in the screen's top left corner.
inline constexpr int SyntaxOnFirstStartContext = 700;

// The program topic, which the info file's lines follow.
inline constexpr int ProgramInfoContext = 301;

// The options dialog's fields.
inline constexpr int WebHelpAdrContext = 401;
inline constexpr int DefaultWebHelpAdrContext = 402;
inline constexpr int TempLstFileContext = 403;
inline constexpr int DefaultTempLstFileContext = 404;

inline constexpr int AboutContext = 501;

// The commands and windows added to the specified ones. F1 shows their topics in every
// window, also in those that offer no context help of their own (the assembler editor).
inline constexpr int StepBackContext = 801;     // Step Back, in every window that offers it
inline constexpr int RunBackContext = 802;      // Run Back, likewise
inline constexpr int TraceWinContext = 803;     // the trace window and the Trace... entry
inline constexpr int BreakpointsContext = 804;  // the breakpoint entries, in both windows
inline constexpr int SpeedContext = 805;        // the Speed menu's entries
inline constexpr int ValueCardContext = 806;
inline constexpr int ViewMenuContext = 807;   // zoom and theme entries
inline constexpr int TestsMenuContext = 808;  // the editor's Tests menu and its results
inline constexpr int TestFilesContext = 809;
inline constexpr int DebugMenuContext = 810;  // the editor's Debug menu
inline constexpr int CommandLineContext = 811;
inline constexpr bool IsAddedContext(int context) {
    return context >= StepBackContext && context <= CommandLineContext;
}
