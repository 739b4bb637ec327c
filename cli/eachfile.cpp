#include "cli/eachfile.h"

#include <algorithm>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "cli/stdstream.h"
#include "core/fileerror.h"

int Guarded(const std::string& command, std::ostream& err, const std::function<int()>& work) {
    try {
        return work();
    } catch (const EUsageError& e) {
        err << "quarzel-cli " << command << ": " << e.what() << " (try --help)\n";
    } catch (const EFileError& e) {
        if (!e.Path().empty() && !e.Reason().empty())
            err << "quarzel-cli: " << e.Path() << ": " << e.Reason() << "\n";
        else
            err << "quarzel-cli " << command << ": " << e.what() << "\n";
    } catch (const EAssemblyFailed&) {
        // the assembler's reports are all the user needs
    }
    return ExitError;
}

int EachFile(const std::string& command, const std::vector<std::string>& files, std::ostream& err,
             const std::function<int(const std::string& file, std::size_t index)>& work) {
    int status = ExitOk;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int done = Guarded(command, err, [&] { return work(files[i], i); });
        if (status == ExitOk) status = done;
    }
    return status;
}

void FileHeader(std::ostream& out, const std::vector<std::string>& files, std::size_t index,
                const char* lineEnd) {
    if (files.size() < 2) return;
    if (index > 0) out << lineEnd;
    out << "==> " << ShownName(files[index]) << " <==" << lineEnd;
}

void CheckOneStandardInput(const std::vector<std::string>& files) {
    if (std::count_if(files.begin(), files.end(), IsStandardStream) > 1)
        throw EUsageError("standard input (-) can be read only once");
}
