#pragma once
// The headless tool: "quarzel-cli COMMAND ARGS". Returns the process exit status.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Exit statuses.
constexpr int ExitOk = 0;
constexpr int ExitError = 1;  // usage or file error
constexpr int ExitInvalid = 2;
constexpr int ExitLimit = 3;
constexpr int ExitTestsFailed = 4;  // a test failed or a program did not assemble

// in is standard input, read where a file is named "-".
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);
// The same with nothing on standard input.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The subcommands' --help texts.
extern const char* const AssembleHelp;
extern const char* const DisassembleHelp;
extern const char* const RunHelp;
extern const char* const TestHelp;

// The subcommands; args exclude the command name and ask for no help.
int AssembleCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err);
int DisassembleCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                       std::ostream& err);
int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err);
int TestCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);
